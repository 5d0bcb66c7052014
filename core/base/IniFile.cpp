#include "core/base/IniFile.h"

#include "core/base/Files.h"

#include <QStringView>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView s)
{
    qsizetype start = 0, end = s.size();
    while (start < end && isBlank(s[start]))
        ++start;
    while (end > start && isBlank(s[end - 1]))
        --end;
    return s.sliced(start, end - start);
}

} // namespace

std::optional<QString> IniSection::value(const QString &wanted, Qt::CaseSensitivity cs) const
{
    for (const IniEntry &entry : entries)
        if (entry.name.compare(wanted, cs) == 0)
            return entry.value;
    return std::nullopt;
}

const IniSection *IniFile::section(const QString &wanted, Qt::CaseSensitivity cs) const
{
    for (const IniSection &s : sections)
        if (s.name.compare(wanted, cs) == 0)
            return &s;
    return nullptr;
}

std::optional<QString> IniFile::value(const QString &sectionName, const QString &name, Qt::CaseSensitivity cs) const
{
    const IniSection *s = section(sectionName, cs);
    if (!s)
        return std::nullopt;
    return s->value(name, cs);
}

IniFile parseIni(const QString &text)
{
    IniFile ini;
    QStringView rest(text);
    if (rest.startsWith(QChar(0xFEFF)))
        rest = rest.sliced(1);
    IniSection *current = nullptr;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(u'\n');
        QStringView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QStringView() : rest.sliced(end + 1);
        if (line.endsWith(u'\r'))
            line.chop(1);

        const QStringView lead = trimmedBlanks(line);
        if (lead.isEmpty() || lead.startsWith(u';') || lead.startsWith(u'#'))
            continue;
        if (lead.startsWith(u'[')) {
            const qsizetype close = lead.lastIndexOf(u']');
            if (close > 0) {
                ini.sections.append(IniSection{lead.sliced(1, close - 1).toString(), {}});
                current = &ini.sections.last();
                continue;
            }
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (!current) {
            ini.sections.append(IniSection{});
            current = &ini.sections.last();
        }
        current->entries.append(
            IniEntry{trimmedBlanks(line.first(equals)).toString(), line.sliced(equals + 1).toString()});
    }
    return ini;
}

IniFile parseIni(const QByteArray &utf8)
{
    return parseIni(QString::fromUtf8(utf8));
}

IniRead readIniFile(const QString &path, qint64 maxSize)
{
    const FileRead file = readFile(path, maxSize);
    if (!file)
        return IniRead::failure(file.error);
    return IniRead::success(parseIni(file.value));
}
