#pragma once
// The files a test lays out for the program to read: one writer for every test.

#include <QByteArray>
#include <QMap>
#include <QString>

// Writes `bytes` as the file at `path`, in place of what was there, making its
// folder first. When the file cannot be written whole, fails the running test
// with the path and the reason; returns whether it was.
bool writeFile(const QString &path, const QByteArray &bytes);

// The whole state of a folder tree without following links: each entry's path
// under the root, with a file's bytes, a link's target, or what else it is.
// Empty for a folder that does not exist.
QMap<QString, QByteArray> snapshot(const QString &root);
