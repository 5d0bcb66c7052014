#pragma once
// A small PCM WAV file made by a test: 16-bit mono at 22050 Hz, a quiet tone.

#include <QByteArray>
#include <QtEndian>

#include <cmath>

inline QByteArray wavBytes(double seconds)
{
    constexpr int rate = 22050;
    const int samples = int(seconds * rate);
    auto u32 = [](QByteArray &b, quint32 v) { b.append(reinterpret_cast<const char *>(&(v = qToLittleEndian(v))), 4); };
    auto u16 = [](QByteArray &b, quint16 v) { b.append(reinterpret_cast<const char *>(&(v = qToLittleEndian(v))), 2); };
    QByteArray b("RIFF");
    u32(b, quint32(36 + samples * 2));
    b.append("WAVEfmt ");
    u32(b, 16);
    u16(b, 1); // PCM
    u16(b, 1); // mono
    u32(b, rate);
    u32(b, rate * 2);
    u16(b, 2);
    u16(b, 16);
    b.append("data");
    u32(b, quint32(samples * 2));
    for (int i = 0; i < samples; ++i)
        u16(b, quint16(qint16(2000 * std::sin(i * 2 * M_PI * 440 / rate))));
    return b;
}
