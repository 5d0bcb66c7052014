#include "tests/support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    ADD_FAILURE() << "The test could not write " << path.toStdString() << ": " << file.errorString().toStdString();
    return false;
}

QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            out[relative] = "-> " + QFile::encodeName(info.symLinkTarget());
        } else if (info.isDir()) {
            out[relative] = "<folder>";
        } else if (info.isFile()) {
            QFile file(info.filePath());
            out[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
        } else {
            out[relative] = "<special>";
        }
    }
    return out;
}
