#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/IniFile.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A name as a settings file can hold it on an entry line of its own.
bool wellFormedName(const QString &name)
{
    if (name.contains(u'\n') || name.contains(u'='))
        return false;
    if (name.isEmpty())
        return true;
    return !isBlank(name.front()) && !isBlank(name.back()) && name.front() != u';' && name.front() != u'#'
        && name.front() != u'[';
}

// Letter case of the ASCII letters turned over.
QString otherCase(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
        else if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return out;
}

} // namespace

void fuzzIniFile(const uint8_t *data, size_t size)
{
    // A section name, an entry name and a value, then the rest of the file.
    const QList<QByteArray> fields = fuzzFields(data, size);
    const QString section = QString::fromUtf8(fields.value(0));
    const QString name = QString::fromUtf8(fields.value(1));
    const QString value = QString::fromUtf8(fields.value(2));
    const QByteArray rest = fields.size() > 3 ? fields.mid(3).join('\0') : QByteArray();

    // Whatever the file, every name and value is one line, and every entry
    // name is found by its section's lookup.
    const IniFile any = parseIni(rest);
    for (const IniSection &s : any.sections) {
        FUZZ_CHECK(!s.name.contains(u'\n'));
        FUZZ_CHECK(any.section(s.name) != nullptr && any.section(s.name, Qt::CaseSensitive) != nullptr);
        for (const IniEntry &e : s.entries) {
            FUZZ_CHECK(!e.name.contains(u'\n') && !e.value.contains(u'\n') && !e.name.contains(u'='));
            FUZZ_CHECK(e.name.isEmpty() || (!isBlank(e.name.front()) && !isBlank(e.name.back())));
            FUZZ_CHECK(s.value(e.name).has_value());
        }
    }

    // A value written in a well-formed section ahead of anything else reads
    // back exactly, by its names as written and in any letter case.
    if (section.contains(u'\n') || !wellFormedName(name) || value.contains(u'\n'))
        return;
    const QString text = u'[' + section + QStringLiteral("]\r\n") + name + u'=' + value + QStringLiteral("\r\n");
    const IniFile ini = parseIni(text.toUtf8() + rest);
    FUZZ_CHECK(!ini.sections.isEmpty() && ini.sections.first().name == section);
    FUZZ_CHECK(ini.value(section, name, Qt::CaseSensitive) == value);
    FUZZ_CHECK(ini.value(section, name) == value);
    FUZZ_CHECK(ini.value(otherCase(section), otherCase(name)) == value);
}
