// The voice settings file: its exact bytes, where it lives, the reader's
// rules for each key, and a write that fails.

#include "core/preview/VoiceSettingsFile.h"

#include "core/base/Files.h"

#include "tests/support/ScriptedServices.h"

#include <QDir>
#include <QFile>

namespace {

class VoiceSettingsFileTest : public CoreTest {};

} // namespace

TEST_F(VoiceSettingsFileTest, AFirstPickOfVoiceZeroForTheMainCharacter)
{
    VoiceSettings settings;
    settings.KSapiVers = 5;
    settings.KSapi5Voice = 0;
    const QString path = voiceSettingsPath();
    EXPECT_EQ(path, env.config + QStringLiteral("/Setts.dat"));
    ASSERT_TRUE(QDir(env.config).removeRecursively()); // a fresh account has no config folder yet
    const FileResult written = saveVoiceSettings(path, settings);
    ASSERT_TRUE(written) << written.error.toStdString();
    const FileRead read = readFile(path, 1024);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value, QByteArray("KVVer=5;\r\nKV4Num=;\r\nKV5Num=0;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"));
}

TEST_F(VoiceSettingsFileTest, EverySettingIsWrittenWhicheverCharacterChose)
{
    const VoiceSettings settings{4, 2, 7, 5, 1, 12};
    EXPECT_EQ(voiceSettingsBytes(settings),
              QByteArray("KVVer=4;\r\nKV4Num=2;\r\nKV5Num=7;\r\nUVVer=5;\r\nUV4Num=1;\r\nUV5Num=12;\r\n\r\n"));
    EXPECT_EQ(parseVoiceSettings(voiceSettingsBytes(settings)), settings);
    EXPECT_EQ(voiceSettingsBytes({}), QByteArray("KVVer=;\r\nKV4Num=;\r\nKV5Num=;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"));
}

TEST_F(VoiceSettingsFileTest, ReaderTakesEachKeysFirstValueUpToItsSemicolon)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        VoiceSettings expected;
    };
    const std::optional<int32_t> empty;
    const Case cases[] = {
        {"two keys on one line", "KVVer=4;KV4Num=1;", {4, 1, empty, empty, empty, empty}},
        {"LF line ends", "KVVer=5;\nKV4Num=;\nKV5Num=3;\nUVVer=4;\nUV4Num=2;\nUV5Num=;\n\n", {5, empty, 3, 4, 2, empty}},
        {"CR LF line ends", "KVVer=5;\r\nKV4Num=;\r\nKV5Num=3;\r\nUVVer=4;\r\nUV4Num=2;\r\nUV5Num=;\r\n\r\n",
         {5, empty, 3, 4, 2, empty}},
        {"a half rounds to even", "KVVer=5;KV5Num=2.5;UV5Num=3.5;", {5, empty, 2, empty, empty, 4}},
        {"not a number", "KVVer=x;KV5Num=1;", {empty, empty, 1, empty, empty, empty}},
        {"blanks around a number", "KV5Num= 3 ;", {empty, empty, 3, empty, empty, empty}},
        {"no semicolon after the value", "KVVer=5;KV5Num=3", {5, empty, empty, empty, empty, empty}},
        {"the value runs to the next semicolon", "KVVer=5\r\nKV5Num=3;", {empty, empty, 3, empty, empty, empty}},
        {"first occurrence wins", "KV5Num=3;KV5Num=4;", {empty, empty, 3, empty, empty, empty}},
        {"keys are case-sensitive", "kvver=5;KVVER=5;", {}},
        {"beyond 32 bits", "KV5Num=2147483648;", {}},
        {"empty file", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseVoiceSettings(c.bytes), c.expected) << c.name;
}

TEST_F(VoiceSettingsFileTest, MissingOrUnreadableFileLeavesEverySettingEmpty)
{
    const QString path = voiceSettingsPath();
    EXPECT_EQ(loadVoiceSettings(path), VoiceSettings{}) << "no file";
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_EQ(loadVoiceSettings(path), VoiceSettings{}) << "a folder of that name";
    ASSERT_TRUE(QDir(path).removeRecursively());
    ASSERT_TRUE(writeFileAtomically(path, "KVVer=4;KV4Num=1;"));
    EXPECT_EQ(loadVoiceSettings(path), (VoiceSettings{4, 1, {}, {}, {}, {}}));
}

TEST_F(VoiceSettingsFileTest, AWriteThatFailsNamesTheFileAndKeepsTheOldOne)
{
    const QString path = voiceSettingsPath();
    ASSERT_TRUE(writeFileAtomically(path, "KVVer=4;KV4Num=1;"));
    // A file stands where the folder should be, so nothing can be written inside it, even as root.
    const QString blocked = env.config + QStringLiteral("/blocked/Setts.dat");
    ASSERT_TRUE(writeFileAtomically(env.config + QStringLiteral("/blocked"), "x"));
    const FileResult result = saveVoiceSettings(blocked, VoiceSettings{5, {}, 0, {}, {}, {}});
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(QDir::toNativeSeparators(blocked))) << result.error.toStdString();
    EXPECT_EQ(loadVoiceSettings(path), (VoiceSettings{4, 1, {}, {}, {}, {}}));
}
