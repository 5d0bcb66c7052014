// The settings-file reader: values come back exactly as written after the
// first "=", whatever the line ends, notes and odd lines around them.

#include "core/base/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

namespace {

// Every section and entry of a parsed file, one per line, so that a failure shows all of it.
QString dump(const IniFile &ini)
{
    QString out;
    for (const IniSection &s : ini.sections) {
        out += u'[' + s.name + QStringLiteral("]\n");
        for (const IniEntry &e : s.entries)
            out += u'<' + e.name + QStringLiteral("> = <") + e.value + QStringLiteral(">\n");
    }
    return out;
}

} // namespace

TEST(IniFile, ReadsSectionsAndValuesAsWritten)
{
    const struct {
        const char *name;
        QByteArray text;
        const char *parsed;
    } cases[] = {
        {"LF ends", "[A]\nx=1\ny=2\n", "[A]\n<x> = <1>\n<y> = <2>\n"},
        {"CR LF ends", "[A]\r\nx=1\r\ny=2\r\n", "[A]\n<x> = <1>\n<y> = <2>\n"},
        {"no end on the last line", "[A]\r\nx=1", "[A]\n<x> = <1>\n"},
        {"value kept whole after the first =", "[A]\nx=  a=b ; c, d\t \n", "[A]\n<x> = <  a=b ; c, d\t >\n"},
        {"a lone CR inside a value stays", "[A]\nx=a\rb\r\n", "[A]\n<x> = <a\rb>\n"},
        {"blanks around the name dropped", "[A]\n\t x \t=1\n", "[A]\n<x> = <1>\n"},
        {"empty value", "[A]\nx=\n", "[A]\n<x> = <>\n"},
        {"notes and blank lines skipped", "; top\n[A]\n# note\n  ; x=1\n\n \t\ny=2\n", "[A]\n<y> = <2>\n"},
        {"a line without = skipped", "[A]\njust words\nx=1\n", "[A]\n<x> = <1>\n"},
        {"backslashes in a section name kept",
         "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\nDirectory=/home/ann/Velm5Pro\n",
         "[HKEY_LOCAL_MACHINE\\Software\\Pellwick Studios\\Velm5Pro]\n<Directory> = </home/ann/Velm5Pro>\n"},
        {"section name up to the last ]", "[a]b] ; note\nx=1\n", "[a]b]\n<x> = <1>\n"},
        {"an unclosed [ is no section", "[A]\n[B=1\n", "[A]\n<[B> = <1>\n"},
        {"entries before any section", "x=1\n[A]\ny=2\n", "[]\n<x> = <1>\n[A]\n<y> = <2>\n"},
        {"byte-order mark dropped", "\xEF\xBB\xBF[A]\nx=1\n", "[A]\n<x> = <1>\n"},
        {"UTF-8 text", "[Caf\xC3\xA9]\nname=Ren\xC3\xA9\n", "[Caf\u00e9]\n<name> = <Ren\u00e9>\n"},
        {"empty file", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dump(parseIni(c.text)), QString::fromUtf8(c.parsed));
    }
}

TEST(IniFile, FirstOfEqualNamesWinsIgnoringCase)
{
    const IniFile ini = parseIni(QByteArray("[Service]\nHost=first\nhost=second\n"
                                            "[SERVICE]\nHost=other\nPort=80\n"
                                            "[Other]\nHost=third\n"));
    EXPECT_EQ(ini.value(QStringLiteral("service"), QStringLiteral("HOST")), QStringLiteral("first"));
    // The second section of an equal name is never read, even for a name only it has.
    EXPECT_EQ(ini.value(QStringLiteral("Service"), QStringLiteral("Port")), std::nullopt);
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("Host")), QStringLiteral("third"));
    EXPECT_EQ(ini.value(QStringLiteral("Missing"), QStringLiteral("Host")), std::nullopt);
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("Port")), std::nullopt);

    // Told to, lookups see letter case.
    EXPECT_EQ(ini.value(QStringLiteral("SERVICE"), QStringLiteral("Host"), Qt::CaseSensitive), QStringLiteral("other"));
    EXPECT_EQ(ini.value(QStringLiteral("Service"), QStringLiteral("host"), Qt::CaseSensitive), QStringLiteral("second"));
    EXPECT_EQ(ini.section(QStringLiteral("service"), Qt::CaseSensitive), nullptr);
}

TEST(IniFile, ReadsAFileUpToItsCap)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sharing.ini"));
    ASSERT_TRUE(writeFile(path, "[Service]\r\nHost=share.example\r\n"));

    const IniRead read = readIniFile(path, 64);
    ASSERT_TRUE(read) << read.error.toStdString();
    EXPECT_EQ(read.value.value(QStringLiteral("Service"), QStringLiteral("Host")), QStringLiteral("share.example"));

    const IniRead tooLarge = readIniFile(path, 10);
    EXPECT_FALSE(tooLarge);
    EXPECT_TRUE(tooLarge.error.contains(path)) << tooLarge.error.toStdString();
    EXPECT_TRUE(tooLarge.value.sections.isEmpty());

    const IniRead missing = readIniFile(dir.filePath(QStringLiteral("none.ini")), 64);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("does not exist"))) << missing.error.toStdString();
}
