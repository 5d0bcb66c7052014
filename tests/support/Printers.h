#pragma once
// Readable QString and QByteArray values in test failure messages.

#include <QByteArray>
#include <QString>

#include <ostream>

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
