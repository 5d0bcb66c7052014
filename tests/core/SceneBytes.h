#pragma once
// Scene file bytes as the tests expect them.

#include <QByteArray>

#include <initializer_list>

// A file as the writers leave it: every line followed by CR LF, then one more CR LF.
inline QByteArray fileOf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *line : lines)
        out += QByteArray(line) + "\r\n";
    return out + "\r\n";
}
