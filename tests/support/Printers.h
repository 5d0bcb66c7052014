#pragma once
// Readable QString and QByteArray values in test failure messages, and test
// names made from a table row's name.

#include <QByteArray>
#include <QString>

#include <cctype>
#include <ostream>
#include <string>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"';
    for (char c : b) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == '\r') *os << "\\r";
        else if (u == '\n') *os << "\\n";
        else if (u < 32 || u >= 127) {
            const char *hex = "0123456789abcdef";
            *os << "\\x" << hex[u >> 4] << hex[u & 15];
        } else *os << c;
    }
    *os << '"';
}

// A row's name as a test name: its words run together, each with a capital
// ("every flag clear" gives "EveryFlagClear").
inline std::string testNameOf(const char *name)
{
    std::string out;
    bool wordStart = true;
    for (const char *c = name; *c; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(*c))) {
            wordStart = true;
            continue;
        }
        out += wordStart ? char(std::toupper(static_cast<unsigned char>(*c))) : *c;
        wordStart = false;
    }
    return out;
}
