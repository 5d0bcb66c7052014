#pragma once
// The player's timed animations driven by the virtual clock: scenes written
// as key lists, BMP frames of one colour each with a light-grey corner (the
// mask colour, so the keyed frame 01 shows through it), and the trace of every
// entry the preview shows, with its pauses and rests.

#include "core/preview/PreviewShow.h"
#include "tests/core/PlayerFixture.h"

#include <QSet>

class AnimationTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        setShowRecorder([this](const ShownEntry &e) { record(e); });
    }
    void TearDown() override
    {
        setShowRecorder({});
        PlayerTest::TearDown();
    }

    // A frame in Images: `color` with its top-left 3 x 3 pixels light grey.
    void writeFrame(const QString &name, QRgb color, QSize size = QSize(20, 16))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                image.setPixel(x, y, 0xFFC0C0C0);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "BMP"));
        writeFile(base(QStringLiteral("Images/") + name), bytes);
    }
    // A scene of "KEY=value" entries, each ended by ";" and CR LF.
    void writeSceneOf(const QString &name, const QStringList &entries)
    {
        QByteArray bytes;
        for (const QString &e : entries)
            bytes += e.toLatin1() + ";\r\n";
        writeScene(name, bytes + "\r\n");
    }

    // The centre colour of a box's picture.
    static QRgb centre(const PreviewBox *box)
    {
        const QImage &p = box->Picture();
        return p.isNull() ? 0 : p.pixel(p.width() / 2, p.height() / 2) | 0xFF000000u;
    }

    // Every ShowListEntry call as a token: the entry's number, "c" before it
    // when MiscPic then shows a child colour, "!" after it when nothing was shown.
    void record(const ShownEntry &e)
    {
        shown << e;
        QString token = QString::number(e.entry);
        if (!e.shown)
            token += u'!';
        else if (e.box == QLatin1String("MiscPic") && childColors.contains(centre(player->MiscPic)))
            token.prepend(u'c');
        trace << token;
    }

    // Runs the clock `stepMs` at a time until the trace holds `want` tokens or
    // `limitMs` have passed. A pause (stepper off, counter on) is marked
    // "PAUSE s" with its length in seconds when the stepper runs again; both
    // timers off is marked "REST" and, with `restart`, the stepper is started
    // again as the master tick would, or else "STOP" ends the run.
    QStringList run(Timer *stepper, Timer *counter, int want, int stepMs, qint64 limitMs, bool restart)
    {
        trace.clear();
        const qint64 end = clock->Now() + limitMs;
        qint64 pausedAt = -1;
        while (trace.size() < want && clock->Now() < end) {
            clock->Advance(stepMs);
            if (pausedAt < 0 && !stepper->Enabled() && counter->Enabled()) {
                pausedAt = clock->Now();
            } else if (pausedAt >= 0 && stepper->Enabled()) {
                trace << QStringLiteral("PAUSE %1").arg(double(clock->Now() - pausedAt) / 1000);
                pausedAt = -1;
            }
            if (!stepper->Enabled() && !counter->Enabled()) {
                if (!restart) {
                    trace << QStringLiteral("STOP");
                    break;
                }
                trace << QStringLiteral("REST");
                stepper->SetEnabled(true);
            }
        }
        return trace.mid(0, want);
    }

    QStringList trace;
    QList<ShownEntry> shown;
    QSet<QRgb> childColors;
};
