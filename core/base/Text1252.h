#pragma once
// Windows-1252, the code page of every text file the companion program reads.

#include <QByteArray>
#include <QString>

QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);
// True when every character of the text has a Windows-1252 byte.
bool fitsWindows1252(const QString &text);
