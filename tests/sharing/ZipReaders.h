#pragma once
// Archives read back by the peers that receive them: Debian's Python zipfile
// (every entry's name, flags, Unix mode and the digest of its bytes, and its
// own CRC test) and "unzip -t".

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct ZipEntryRead {
    QString name;
    int mode = 0;         // Unix mode from the external attributes, type bits included
    int madeBy = 0;       // system that made the entry (3 = Unix)
    int method = 0;       // 0 stored, 8 deflated
    bool utf8 = false;    // the name is flagged as UTF-8
    QByteArray sha256;    // hex digest of the entry's bytes
};

struct ZipRead {
    bool ok = false;
    QString error;        // Python's complaint when the archive is no good
    QByteArray comment;
    QList<ZipEntryRead> entries;
    QStringList names() const;
    const ZipEntryRead *entry(const QString &name) const;
};

// Reads the archive with /usr/bin/python3's zipfile; ok only when every
// entry's CRC checks out.
ZipRead readZipWithPython(const QString &path);
// Runs "unzip -t -q"; true when it passes. `output` gets what it printed.
bool unzipTestPasses(const QString &path, QString *output = nullptr);
// Hex SHA-256 of a file's bytes.
QByteArray fileSha256(const QString &path);
