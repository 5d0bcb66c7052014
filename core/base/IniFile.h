#pragma once
// Settings files of the INI kind: "[section]" lines, each followed by its
// "name=value" lines. The value is everything after the first "=", blanks
// included; the name is the text before it without surrounding blanks. Lines
// end in CR LF or LF; a line whose first non-blank character is ";" or "#" is a
// note, and a line that is neither a section nor holds an "=" is skipped.
// Lines before the first section belong to a section of the empty name. The
// text is UTF-8 (a leading byte-order mark is dropped).
//
// Sections and names keep the file's order. Where two sections or two names of
// one section are equal, the first counts. Lookups ignore letter case unless
// told otherwise.

#include "core/base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct IniEntry {
    QString name;
    QString value;
};

struct IniSection {
    QString name;
    QList<IniEntry> entries;

    // The value of the first entry of that name; nothing when there is none.
    std::optional<QString> value(const QString &name, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;
};

struct IniFile {
    QList<IniSection> sections;

    // The first section of that name; null when there is none.
    const IniSection *section(const QString &name, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;
    // The value of `name` in the first section called `section`.
    std::optional<QString> value(const QString &section, const QString &name,
                                 Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;
};

IniFile parseIni(const QByteArray &utf8);
IniFile parseIni(const QString &text);

// A settings file read whole: the parsed file, or the reason it could not be read.
using IniRead = Result<IniFile>;

// Reads and parses a file of at most `maxSize` bytes (see readFile).
[[nodiscard]] IniRead readIniFile(const QString &path, qint64 maxSize);
