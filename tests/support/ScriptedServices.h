#pragma once
// Scripted stand-ins for the machine facts the core asks for (its services):
// they answer as the test set them, so that no test touches the real folders
// or draws a number by chance. The windows' message boxes, file choosers and
// browser have theirs in tests/support/program.

#include "core/system/Services.h"

#include <QFile>
#include <QQueue>
#include <QTemporaryDir>
#include <QVector>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

class ScriptedEnvironment : public EnvironmentService {
public:
    QString documents, program, config, pictures;
    double tppX = 15, tppY = 15;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return program; }
    QString configFolder() const override { return config; }
    QString picturesFolder() const override { return pictures; }
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

// A fresh start for every test: a temporary documents, program and settings
// folder, the scripted services, start values of the shared state.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString documentsFolder() const { return env.documents; }
    QString baseFolder() const { return env.documents + QStringLiteral("/Velm5Pro/"); }
    QString tempPath(const QString &name) const { return temp.filePath(name); }
    // A file of the test's own in its temporary folder, holding `bytes`; its path.
    QString writeTempFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = tempPath(name);
        writeFile(path, bytes);
        return path;
    }

    QTemporaryDir temp;
    ScriptedEnvironment env;
    ScriptedRandom random;

private:
    Services m_before{};
};

// Lets objects deleted later (a window closed from its window box) finish being destroyed.
void flushDeletes();
