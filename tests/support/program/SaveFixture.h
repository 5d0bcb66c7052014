#pragma once
// A started program ready to save a scene: a primary series of 21 frames whose
// pixels tell their place and frame (tests/support/TaggedFrames.h), cut by the
// mouth designer and placed on the canvas, so that the save window's OK writes
// a whole scene. Helpers pick more frame sets and save as a user does.

#include "core/scene/SceneState.h"
#include "tests/support/program/ScriptedWindows.h"
#include "tests/support/TaggedFrames.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// What a save that wrote everything says.
inline const QString kSaved = QStringLiteral("Your Scene has been saved.");
// What a save asks before it replaces the scene `existing`.
inline QString replaceQuestion(const QString &existing)
{
    return QStringLiteral("A scene named \"%1\" already exists. Do you want to replace it with this scene?")
        .arg(existing);
}
// What a save that failed and left the base folder as it was adds to the reason.
inline const QString kNotSaved = QStringLiteral("\n\nThe scene has not been saved. Please fix this and save again.");

class SaveFixture : public AppTest {
protected:
    void SetUp() override;

    // The series frames are 500 x 500 pixels.
    static constexpr int SeriesSize = 500;
    // Primary series frame n (1 to 21), tagged n.
    QString girl(int n) const;

    // Saves a picture tagged `tag` as a BMP file, whatever its name says.
    static void draw(const QString &path, int tag, QSize size = QSize(SeriesSize, SeriesSize));

    // Draws frames base & first .. first + count - 1 (frame n tagged
    // (tagOffset + n) % 21, so that sets differ from each other and from the
    // primary series) and fills the set as its loader does.
    void pickSet(AnimFrameSet &set, const QString &base, int first, int count, int tagOffset = 7);
    // Frame n of a set picked at `base`.
    QString setFrame(const QString &base, int n) const;

    // An extra animation set picked at base & first, `count` frames, placed.
    void extraSet(const QString &base, int first, int count);

    // A desktop scene whose extra animation (Fish01-02) has alpha frames
    // (Alpha01-02) and an alpha background Desk.bmp of 300 x 200, the extra
    // box placed from (10, 20), 50.5 x 30.5.
    void alphaDesk();

    // Types the name and presses OK, as a user does, and answers the one
    // message every save ends with (read it back with messages.take...).
    void save(const QString &name);
    // The same over the scene `existing`: answers Yes to the question first,
    // reads back every message and gives those after the question.
    QStringList saveOver(const QString &name, const QString &existing);

    QString base(const QString &rest = QString()) const { return baseFolder() + rest; }
    static QByteArray bytesOf(const QString &path);

    QString series; // the frames' folder, ending in "/"
};
