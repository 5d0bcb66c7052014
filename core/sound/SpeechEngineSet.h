#pragma once
// The engine set of the library window (its `DirectSS1`): speech engines
// numbered from 1, each with a name, and asynchronous speech whose mouth
// shapes (jaw opening and lip tension, 0..255) arrive as the sound plays.
// espeak-ng offers no engines of this kind, so the program's set is empty;
// tests install sets of their own over the speech engine.
//
// The window lists EngineName(1..EngineCount()) first in both voice boxes;
// the speak buttons call SelectEngine(number) and then SpeakText(text,
// WhoVoice), and show "Please choose a voice." when either fails; mouth goes
// to the window's mouth-shape handler. Closing the window calls Purge.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class SpeechEngineSet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The number of engines; 0 when it cannot be told.
    virtual int EngineCount() = 0;
    // The name of engine 1..EngineCount(); nothing for any other number.
    virtual std::optional<QString> EngineName(int engine) = 0;
    // Makes the engine current; false for a number that names none.
    [[nodiscard]] virtual bool SelectEngine(int engine) = 0;
    // Purges any speech in progress and speaks the text with the current
    // engine; its mouth shapes carry `speaker`. False when no engine is current.
    [[nodiscard]] virtual bool SpeakText(const QString &text, const QString &speaker) = 0;
    // Ends this set's speech in progress; no mouth shape of it arrives afterwards.
    virtual void Purge() = 0;

signals:
    void mouth(const QString &speaker, qint16 jaw, qint16 lipTension);
};

// The program's set: no engines.
class NoSpeechEngines : public SpeechEngineSet {
    Q_OBJECT
public:
    using SpeechEngineSet::SpeechEngineSet;
    int EngineCount() override { return 0; }
    std::optional<QString> EngineName(int) override { return std::nullopt; }
    bool SelectEngine(int) override { return false; }
    bool SpeakText(const QString &, const QString &) override { return false; }
    void Purge() override {}
};

// A new engine set for a window: NoSpeechEngines unless a test set a maker.
SpeechEngineSet *createSpeechEngineSet(QObject *parent);
void setSpeechEngineSetMaker(std::function<SpeechEngineSet *(QObject *parent)> maker);
