#include "core/sound/WavHeader.h"

#include <QtEndian>

namespace {

quint32 littleEndian32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

Result<> refused(const QString &reason)
{
    return Result<>::failure(reason);
}

} // namespace

Result<> checkSoundBytes(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return Result<>::success();
    const qint64 held = bytes.size();
    // The RIFF length counts the bytes after its own 8-byte header.
    const qint64 riffEnd = 8 + qint64(littleEndian32(bytes, 4));
    if (riffEnd > held)
        return refused(QStringLiteral("the file claims %1 bytes but holds %2").arg(riffEnd).arg(held));
    for (qint64 at = 12; at + 8 <= riffEnd;) {
        const qint64 length = littleEndian32(bytes, at + 4);
        const qint64 end = at + 8 + length;
        if (end > riffEnd)
            return refused(QStringLiteral("its chunk \"%1\" claims %2 bytes past the end of the file")
                               .arg(QString::fromLatin1(bytes.mid(at, 4)))
                               .arg(end - riffEnd));
        at = end + (length & 1); // chunks start on an even byte
    }
    return Result<>::success();
}
