#pragma once
// A started program with a base folder of scene files and frames made by the
// test (tests/core/SceneFolderFixture.h), the library window opened from
// "Load Scene" and its lists clicked as a user clicks them. The window's
// timers run on a virtual clock.

#include "app/Start.h"
#include "core/scene/SceneState.h"
#include "core/system/Timer.h"
#include "library/VelmNShare.h"
#include "platform/Form.h"
#include "platform/PictureBox.h"
#include "tests/core/SceneFolderFixture.h"
#include "tests/support/program/ScriptedWindows.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class LibraryTest : public SceneFolderFixture<AppTest> {
protected:
    void SetUp() override
    {
        SceneFolderFixture::SetUp();
        startProgram();
    }
    void TearDown() override
    {
        destroyAllForms();
        flushDeletes();
        SceneFolderFixture::TearDown();
    }

    // "Load Scene" on the launcher.
    VelmNShare &openLibrary()
    {
        QTest::mouseClick(form<Start>().Image2, Qt::LeftButton);
        return form<VelmNShare>();
    }
    static QStringList entries(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    // A click on the entry `name` of a list, as a user clicks it.
    static void click(QListWidget *list, const QString &name)
    {
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }
    void closeLibrary()
    {
        form<VelmNShare>().close();
        flushDeletes();
    }
};
