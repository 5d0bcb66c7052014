#include "tests/sharing/ZipReaders.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

const char *const kReader = R"(
import hashlib, json, sys, zipfile
out = {}
try:
    with zipfile.ZipFile(sys.argv[1]) as z:
        out["bad"] = z.testzip()
        out["comment"] = z.comment.hex()
        out["entries"] = [{
            "name": i.filename,
            "mode": i.external_attr >> 16,
            "madeBy": i.create_system,
            "method": i.compress_type,
            "utf8": bool(i.flag_bits & 0x800),
            "sha256": hashlib.sha256(z.read(i)).hexdigest(),
        } for i in z.infolist()]
except Exception as e:
    out["error"] = repr(e)
print(json.dumps(out))
)";

} // namespace

QStringList ZipRead::names() const
{
    QStringList out;
    for (const ZipEntryRead &e : entries)
        out << e.name;
    return out;
}

const ZipEntryRead *ZipRead::entry(const QString &name) const
{
    for (const ZipEntryRead &e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

ZipRead readZipWithPython(const QString &path)
{
    ZipRead read;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kReader), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        read.error = QStringLiteral("python3 failed: ") + QString::fromUtf8(python.readAllStandardError());
        return read;
    }
    const QJsonObject o = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (o.contains(QStringLiteral("error"))) {
        read.error = o.value(QStringLiteral("error")).toString();
        return read;
    }
    if (!o.value(QStringLiteral("bad")).isNull()) {
        read.error = QStringLiteral("bad entry ") + o.value(QStringLiteral("bad")).toString();
        return read;
    }
    read.comment = QByteArray::fromHex(o.value(QStringLiteral("comment")).toString().toLatin1());
    for (const QJsonValue &v : o.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject e = v.toObject();
        read.entries.append({e.value(QStringLiteral("name")).toString(), e.value(QStringLiteral("mode")).toInt(),
                             e.value(QStringLiteral("madeBy")).toInt(), e.value(QStringLiteral("method")).toInt(),
                             e.value(QStringLiteral("utf8")).toBool(),
                             e.value(QStringLiteral("sha256")).toString().toLatin1()});
    }
    read.ok = true;
    return read;
}

bool unzipTestPasses(const QString &path, QString *output)
{
    QProcess unzip;
    unzip.setProcessChannelMode(QProcess::MergedChannels);
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-t"), QStringLiteral("-q"), path});
    const bool finished = unzip.waitForFinished(60000);
    if (output)
        *output = QString::fromUtf8(unzip.readAll());
    return finished && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
}

QByteArray fileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}
