#pragma once
// Scripted stand-ins for the modal interactions: they answer from a queue and
// record what the program showed, so that no test waits on a dialog or starts
// a browser.

#include "platform/Services.h"

#include <QQueue>
#include <QTemporaryDir>
#include <QVector>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

struct ShownMessage {
    QString text;
    MsgButtons buttons;
    QString title;
    MsgIcon icon = MsgIcon::None;
};

class ScriptedMessages : public MessageService {
public:
    QVector<ShownMessage> shown;
    QQueue<MsgResult> answers; // when empty: Ok, or Yes for a Yes/No box
    MsgResult show(const QString &text, MsgButtons buttons, const QString &title, MsgIcon icon) override;
    QStringList texts() const;
};

class ScriptedFiles : public FileChooserService {
public:
    QVector<FileChooserRequest> requests;
    QQueue<QString> answers; // when empty: "" (cancelled)
    QString choose(const FileChooserRequest &request) override;
};

class ScriptedUrls : public UrlService {
public:
    QVector<QUrl> opened;
    bool succeed = true;
    bool open(const QUrl &url) override;
};

class ScriptedEnvironment : public EnvironmentService {
public:
    QString documents, program, config;
    double tppX = 15, tppY = 15;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return program; }
    QString configFolder() const override { return config; }
    double twipsPerPixelX() const override { return tppX; }
    double twipsPerPixelY() const override { return tppY; }
};

class ScriptedRandom : public RandomService {
public:
    QQueue<float> values; // when empty: 0.5, or a failure when strict
    bool strict = false;  // a draw from an empty queue fails the test
    int taken = 0;        // draws taken so far
    float next() override
    {
        ++taken;
        if (!values.isEmpty())
            return values.dequeue();
        if (strict)
            ADD_FAILURE() << "the scripted random source ran dry at draw " << taken;
        return 0.5f;
    }
};

// A fresh program for every test: a temporary documents and program folder,
// the scripted services, start values of the shared state, no windows.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the launcher's load: base and work folders from the test's documents folder.
    void startProgram();
    QString documentsFolder() const { return env.documents; }
    QString baseFolder() const { return env.documents + QStringLiteral("/Velm5Pro/"); }
    QString tempPath(const QString &name) const { return temp.filePath(name); }

    QTemporaryDir temp;
    ScriptedMessages messages;
    ScriptedFiles files;
    ScriptedUrls urls;
    ScriptedEnvironment env;
    ScriptedRandom random;
};

// Lets windows closed from their window box finish being destroyed.
void flushDeletes();
