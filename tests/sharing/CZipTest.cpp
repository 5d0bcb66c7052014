// The zip wrapper's settings land in the library's option record exactly as
// the record's readers expect, and its callbacks pass on only what fits their
// bounds.

#include "adapters/zip/cZip.h"
#include "adapters/zip/mZip.h"

#include <QList>

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

TEST(CZip, ANewObjectKeepsNoFoldersAndLooksInTheRootOnly)
{
    const cZip zip;
    ZPOPT expected;
    expected.fNoDirEntries = 1;
    expected.fJunkDir = 1;
    expected.fRecurse = 0;
    EXPECT_TRUE(zip.Options() == expected);
    EXPECT_FALSE(zip.StoreDirectories());
    EXPECT_FALSE(zip.StoreFolderNames());
    EXPECT_FALSE(zip.RecurseSubDirs());
    EXPECT_EQ(zip.MessageLevel(), 2);
    EXPECT_EQ(zip.FileSpecCount(), 0);
    EXPECT_EQ(zip.ZipFile(), QString());
    EXPECT_EQ(zip.BasePath(), QString());
    EXPECT_EQ(zip.LastResult(), 0);
    EXPECT_TRUE(zip.Success());
}

TEST(CZip, EachFlagPropertyWritesItsOwnFieldOnly)
{
    const struct {
        const char *name;
        std::function<void(cZip &, bool)> write;
        std::function<bool(const cZip &)> read;
        int ZPOPT::*field;
        int whenTrue, whenFalse;
    } rows[] = {
        {"Encrypt", &cZip::setEncrypt, &cZip::Encrypt, &ZPOPT::fEncrypt, 1, 0},
        {"AddComment", &cZip::setAddComment, &cZip::AddComment, &ZPOPT::fComment, 1, 0},
        {"IncludeSystemAndHiddenFiles", &cZip::setIncludeSystemAndHiddenFiles, &cZip::IncludeSystemAndHiddenFiles,
         &ZPOPT::fSystem, 1, 0},
        {"StoreVolumeLabel", &cZip::setStoreVolumeLabel, &cZip::StoreVolumeLabel, &ZPOPT::fVolume, 1, 0},
        {"StoreDirectories", &cZip::setStoreDirectories, &cZip::StoreDirectories, &ZPOPT::fNoDirEntries, 0, 1},
        {"StoreFolderNames", &cZip::setStoreFolderNames, &cZip::StoreFolderNames, &ZPOPT::fJunkDir, 0, 1},
        {"RecurseSubDirs", &cZip::setRecurseSubDirs, &cZip::RecurseSubDirs, &ZPOPT::fRecurse, 2, 0},
        {"UpdateOnlyIfNewer", &cZip::setUpdateOnlyIfNewer, &cZip::UpdateOnlyIfNewer, &ZPOPT::fUpdate, 1, 0},
        {"FreshenFiles", &cZip::setFreshenFiles, &cZip::FreshenFiles, &ZPOPT::fFreshen, 1, 0},
        {"ConvertCRLFToLF", &cZip::setConvertCRLFToLF, &cZip::ConvertCRLFToLF, &ZPOPT::fCRLF_LF, 1, 0},
        {"ConvertLFToCRLF", &cZip::setConvertLFToCRLF, &cZip::ConvertLFToCRLF, &ZPOPT::fLF_CRLF, 1, 0},
        {"AllowAppend", &cZip::setAllowAppend, &cZip::AllowAppend, &ZPOPT::fGrow, 1, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool value : {true, false, true}) {
            cZip zip;
            row.write(zip, !value);
            ZPOPT expected = zip.Options();
            expected.*row.field = value ? row.whenTrue : row.whenFalse;
            row.write(zip, value);
            EXPECT_TRUE(zip.Options() == expected) << "after writing " << value;
            EXPECT_EQ(row.read(zip), value);
            // Reading changes nothing.
            EXPECT_TRUE(zip.Options() == expected);
        }
    }
}

TEST(CZip, TextPropertiesKeepTheirText)
{
    cZip zip;
    zip.setZipFile(QStringLiteral("/tmp/z/Beach482913377.zip"));
    zip.setBasePath(QStringLiteral(" /tmp/Velm5Pro/Data/Temp/ShareTemp "));
    EXPECT_EQ(zip.ZipFile(), QStringLiteral("/tmp/z/Beach482913377.zip"));
    EXPECT_EQ(zip.BasePath(), QStringLiteral(" /tmp/Velm5Pro/Data/Temp/ShareTemp "));
    EXPECT_EQ(zip.Options().szRootDir, QStringLiteral(" /tmp/Velm5Pro/Data/Temp/ShareTemp "));
}

TEST(CZip, MessageLevelSetsVerboseAndQuiet)
{
    const struct {
        const char *name;
        int before, written;
        int verbose, quiet, read;
    } rows[] = {
        {"0 is verbose", 2, 0, 1, 0, 0},
        {"1 is quiet", 0, 1, 0, 1, 1},
        {"2 is neither", 1, 2, 0, 0, 2},
        {"7 changes nothing after 1", 1, 7, 0, 1, 1},
        {"7 changes nothing after 0", 0, 7, 1, 0, 0},
        {"-1 changes nothing", 2, -1, 0, 0, 2},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        cZip zip;
        zip.setMessageLevel(row.before);
        zip.setMessageLevel(row.written);
        EXPECT_EQ(zip.Options().fVerbose, row.verbose);
        EXPECT_EQ(zip.Options().fQuiet, row.quiet);
        EXPECT_EQ(zip.MessageLevel(), row.read);
    }
}

TEST(CZip, ThePatternListCountsFromOneAndRefusesOtherPositions)
{
    cZip zip;
    zip.AddFileSpec(QStringLiteral("*.jpg"));
    zip.AddFileSpec(QStringLiteral("*.scn"));
    zip.AddFileSpec(QStringLiteral("*.exe"));
    EXPECT_EQ(zip.FileSpecCount(), 3);
    EXPECT_EQ(zip.FileSpec(1), QStringLiteral("*.jpg"));
    EXPECT_EQ(zip.FileSpec(3), QStringLiteral("*.exe"));
    for (const int outside : {0, -1, 4})
        EXPECT_FALSE(zip.FileSpec(outside).has_value()) << outside;
    zip.ClearFileSpecs();
    EXPECT_EQ(zip.FileSpecCount(), 0);
    EXPECT_FALSE(zip.FileSpec(1).has_value());
    zip.AddFileSpec(QStringLiteral("*.wav"));
    EXPECT_EQ(zip.FileSpecCount(), 1);
    EXPECT_EQ(zip.FileSpec(1), QStringLiteral("*.wav"));
}

TEST(ZipSlashes, EverySlashBecomesABackslash)
{
    const struct {
        const char *name;
        QString in, out;
    } rows[] = {
        {"none", QStringLiteral("mediadrop.exe"), QStringLiteral("mediadrop.exe")},
        {"inside", QStringLiteral("Files/Images/a.jpg"), QStringLiteral("Files\\Images\\a.jpg")},
        {"at both ends and doubled", QStringLiteral("/a//b/"), QStringLiteral("\\a\\\\b\\")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QString text = row.in;
        SlashToBackslash(text);
        EXPECT_EQ(text, row.out);
    }
}

// A cZip held as the running archive, with its signals recorded.
class ZipCallbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&zip, &cZip::Progress, [this](int count, const QString &message) {
            counts << count;
            progress << message;
        });
        QObject::connect(&zip, &cZip::Cancel, [this](const QString &name, bool &cancel) {
            cancelled << name;
            cancel = cancelAt.contains(name);
        });
        QObject::connect(&zip, &cZip::CommentRequest, [this](QString &text, bool &cancel) {
            ++commentRequests;
            text = comment;
            cancel = cancelComment;
        });
        QObject::connect(&zip, &cZip::PasswordRequest,
                         [this](QString &text, int maxLength, bool confirm, bool &cancel) {
                             passwordRequests.append({maxLength, confirm});
                             text = password;
                             cancel = cancelPassword;
                         });
    }

    cZip zip;
    QList<int> counts;
    QStringList progress, cancelled, cancelAt;
    QString comment, password;
    bool cancelComment = false, cancelPassword = false;
    int commentRequests = 0;
    QList<std::pair<int, bool>> passwordRequests;
};

// Text of n letters followed by its zero, and further letters after it.
QByteArray textOf(int letters)
{
    QByteArray bytes(letters, 'a');
    bytes.append('\0');
    bytes.append(QByteArray(64, 'z'));
    return bytes;
}

TEST_F(ZipCallbackTest, PrintAndServicePassOnTextsOf2To1023BytesWithTheirZero)
{
    const ZipRunScope run(zip);
    ASSERT_TRUE(run.active());
    const struct {
        const char *name;
        QByteArray bytes;
        unsigned long length;
        bool passed;
        QString text;
    } rows[] = {
        {"length 1", textOf(0), 1, false, QString()},
        {"length 2", textOf(1), 2, true, QStringLiteral("a")},
        {"length 2 without a zero", textOf(5), 2, true, QStringLiteral("aa")},
        {"length 1023", textOf(1022), 1023, true, QString(1022, u'a')},
        {"length 1024", textOf(1023), 1024, false, QString()},
        {"length 0", textOf(0), 0, false, QString()},
        {"stops at the zero", textOf(3), 40, true, QStringLiteral("aaa")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        progress.clear();
        cancelled.clear();
        counts.clear();
        EXPECT_EQ(ZipPrintCallback(row.bytes.constData(), row.length), 0);
        EXPECT_EQ(ZipServiceCallback(row.bytes.constData(), row.length), 0);
        EXPECT_EQ(progress, row.passed ? QStringList{row.text} : QStringList());
        EXPECT_EQ(cancelled, row.passed ? QStringList{row.text} : QStringList());
        ASSERT_EQ(counts.size(), row.passed ? 1 : 0);
        if (row.passed) {
            EXPECT_EQ(counts[0], 1);
        }
    }
}

TEST_F(ZipCallbackTest, ProgressTurnsSlashesIntoBackslashesAndTheServiceDoesNot)
{
    const ZipRunScope run(zip);
    const QByteArray text("  adding: Files/Images/a.jpg");
    const QByteArray name("Files/Images/a.jpg");
    ZipPrintCallback(text.constData(), unsigned(text.size() + 1));
    ZipServiceCallback(name.constData(), unsigned(name.size() + 1));
    EXPECT_EQ(progress, QStringList{QStringLiteral("  adding: Files\\Images\\a.jpg")});
    EXPECT_EQ(cancelled, QStringList{QStringLiteral("Files/Images/a.jpg")});
}

TEST_F(ZipCallbackTest, ACancelAnswersOneAndEndsLaterRequests)
{
    const ZipRunScope run(zip);
    cancelAt << QStringLiteral("b.jpg");
    EXPECT_EQ(ZipServiceCallback("a.jpg", 6), 0);
    EXPECT_EQ(ZipServiceCallback("b.jpg", 6), 1);
    comment = QStringLiteral("a comment");
    password = QStringLiteral("secret");
    char buffer[300] = {};
    EXPECT_EQ(ZipCommentCallback(buffer), 1);
    EXPECT_EQ(ZipPasswordCallback(buffer, 80, "", ""), 1);
    EXPECT_EQ(commentRequests, 0);
    EXPECT_TRUE(passwordRequests.isEmpty());
}

TEST_F(ZipCallbackTest, CommentIsTrimmedCutTo255BytesAndEndedByAZero)
{
    const struct {
        const char *name;
        QString typed;
        bool cancel;
        int result;
        QByteArray stored; // before the zero
    } rows[] = {
        {"300 bytes", QString(300, u'c'), false, 0, QByteArray(255, 'c')},
        {"255 bytes", QString(255, u'd'), false, 0, QByteArray(255, 'd')},
        {"spaces around", QStringLiteral("  hello there  "), false, 0, QByteArray("hello there")},
        {"code page", QStringLiteral("\u20ac 5 caf\u00e9 \u4e2d"), false, 0, QByteArray("\x80 5 caf\xe9 ?")},
        {"empty", QString(), false, 1, QByteArray()},
        {"only spaces", QStringLiteral("   "), false, 1, QByteArray()},
        {"cancelled", QStringLiteral("words"), true, 1, QByteArray()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const ZipRunScope run(zip);
        comment = row.typed;
        cancelComment = row.cancel;
        QByteArray buffer(400, char(0x55));
        EXPECT_EQ(ZipCommentCallback(buffer.data()), row.result);
        if (row.result == 0) {
            EXPECT_EQ(buffer.left(row.stored.size()), row.stored);
            EXPECT_EQ(buffer[row.stored.size()], '\0');
            EXPECT_EQ(buffer.mid(row.stored.size() + 1), QByteArray(400 - row.stored.size() - 1, char(0x55)));
        } else {
            EXPECT_EQ(buffer, QByteArray(400, char(0x55)));
            // The refusal sets the abort flag: the next request is not raised.
            const int before = commentRequests;
            EXPECT_EQ(ZipCommentCallback(buffer.data()), 1);
            EXPECT_EQ(commentRequests, before);
        }
    }
}

TEST_F(ZipCallbackTest, PasswordFillsItsBufferWithZerosUpToItsSizeAndNoFurtherThan256)
{
    const struct {
        const char *name;
        QString typed;
        int size;
        int result;
        QByteArray written; // positions the callback wrote
    } rows[] = {
        {"padded with zeros", QStringLiteral("abc"), 8, 0, QByteArray("abc\0\0\0\0\0", 8)},
        {"spaces trimmed", QStringLiteral(" abc "), 5, 0, QByteArray("abc\0\0", 5)},
        {"exactly one short of the size", QStringLiteral("abcd"), 5, 0, QByteArray("abcd\0", 5)},
        {"longer than the size keeps a zero", QStringLiteral("abcdefghij"), 5, 0, QByteArray("abcd\0", 5)},
        {"size beyond 256", QStringLiteral("pw"), 300, 0, QByteArray("pw") + QByteArray(254, '\0')},
        {"empty", QString(), 8, 1, QByteArray()},
        {"size 0", QStringLiteral("abc"), 0, 1, QByteArray()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const ZipRunScope run(zip);
        password = row.typed;
        QByteArray buffer(400, char(0x55));
        EXPECT_EQ(ZipPasswordCallback(buffer.data(), row.size, "prompt", "name"), row.result);
        EXPECT_EQ(buffer.left(row.written.size()), row.written);
        EXPECT_EQ(buffer.mid(row.written.size()), QByteArray(400 - row.written.size(), char(0x55)));
    }
}

TEST_F(ZipCallbackTest, PasswordAsksToConfirmAfterTheFirstAnswerOfARun)
{
    password = QStringLiteral("secret");
    char buffer[64];
    {
        const ZipRunScope run(zip);
        EXPECT_EQ(ZipPasswordCallback(buffer, 64, "", ""), 0);
        EXPECT_EQ(ZipPasswordCallback(buffer, 64, "", ""), 0);
    }
    {
        const ZipRunScope run(zip);
        EXPECT_EQ(ZipPasswordCallback(buffer, 32, "", ""), 0);
    }
    cancelPassword = true;
    {
        const ZipRunScope run(zip);
        EXPECT_EQ(ZipPasswordCallback(buffer, 16, "", ""), 1);
    }
    const QList<std::pair<int, bool>> expected{{64, false}, {64, true}, {32, false}, {16, false}};
    EXPECT_EQ(passwordRequests, expected);
}

TEST_F(ZipCallbackTest, CallbacksOutsideARunRaiseNothing)
{
    char buffer[64] = {};
    EXPECT_EQ(ZipPrintCallback("text", 5), 0);
    EXPECT_EQ(ZipServiceCallback("name", 5), 0);
    EXPECT_EQ(ZipCommentCallback(buffer), 1);
    EXPECT_EQ(ZipPasswordCallback(buffer, 64, "", ""), 1);
    EXPECT_TRUE(progress.isEmpty());
    EXPECT_TRUE(cancelled.isEmpty());
    EXPECT_EQ(commentRequests, 0);
    EXPECT_TRUE(passwordRequests.isEmpty());
}

TEST_F(ZipCallbackTest, OneRunAtATime)
{
    const ZipRunScope first(zip);
    cZip other;
    const ZipRunScope second(other);
    EXPECT_TRUE(first.active());
    EXPECT_FALSE(second.active());
    ZPOPT options;
    EXPECT_EQ(RunZip(other, options, {QStringLiteral("*.jpg")}, 1), ZE_LOGIC);
}

} // namespace
