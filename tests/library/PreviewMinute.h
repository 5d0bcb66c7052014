#pragma once
// What a minute of the preview on the virtual clock is checked with: a seeded
// generator of the test's own, and the rule that every sound start is whole
// and never overlaps the same slot's last play.

#include "core/system/Services.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <random>

// The program's random source, seeded by the test, in single precision.
class SeededRandom : public RandomService {
public:
    explicit SeededRandom(quint32 seed) : m_engine(seed) {}
    float next() override
    {
        ++taken;
        return float(m_engine() >> 8) / 16777216.0f;
    }
    int taken = 0; // draws taken so far

private:
    std::mt19937 m_engine;
};

// `sent` holds the player's command strings as "<ms> <command> <result>",
// the status queries left out (other lines are passed over). Every "Play A"
// must follow "Stop A", "Close A", an open of a file in `soundsFolder` under
// A and "Seek A to start wait", all at the same time, and come no earlier
// than A's last play plus its length in `lengths`. `plays` counts them.
inline ::testing::AssertionResult wholeSoundStarts(const QStringList &sent, const QString &soundsFolder,
                                                   const QHash<QString, qint64> &lengths, int &plays)
{
    plays = 0;
    QHash<QString, qint64> lastPlay;
    for (qsizetype i = 0; i < sent.size(); ++i) {
        const QStringList parts = sent[i].split(QLatin1Char(' '));
        if (parts.size() < 3 || parts[1] != QLatin1String("Play"))
            continue;
        ++plays;
        const QString alias = parts[2];
        const QString at = parts[0] + QLatin1Char(' ');
        if (i < 4)
            return ::testing::AssertionFailure() << "a play without its start: " << sent[i].toStdString();
        const bool whole = sent[i - 4].startsWith(at + QStringLiteral("Stop ") + alias + QLatin1Char(' '))
            && sent[i - 3].startsWith(at + QStringLiteral("Close ") + alias + QLatin1Char(' '))
            && sent[i - 2].startsWith(at + QStringLiteral("Open \"") + soundsFolder)
            && sent[i - 2].contains(QStringLiteral("\" Alias ") + alias + QLatin1Char(' '))
            && sent[i - 1].startsWith(at + QStringLiteral("Seek ") + alias + QStringLiteral(" to start wait "));
        if (!whole)
            return ::testing::AssertionFailure() << "not a whole start: "
                                                 << sent.mid(i - 4, 5).join(QStringLiteral(" | ")).toStdString();
        const qint64 t = parts[0].toLongLong();
        if (lastPlay.contains(alias) && t < lastPlay[alias] + lengths.value(alias))
            return ::testing::AssertionFailure() << alias.toStdString() << " overlaps itself at " << t << " ms";
        lastPlay[alias] = t;
    }
    return ::testing::AssertionSuccess();
}
