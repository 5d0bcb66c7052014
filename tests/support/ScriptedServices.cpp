#include "tests/support/ScriptedServices.h"

#include "core/scene/SceneState.h"
#include "core/system/ChooserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void CoreTest::SetUp()
{
    m_before = services();
    ASSERT_TRUE(temp.isValid());
    env.documents = temp.filePath(QStringLiteral("Documents"));
    env.program = temp.filePath(QStringLiteral("Program"));
    env.config = temp.filePath(QStringLiteral("Config"));
    env.pictures = temp.filePath(QStringLiteral("Pictures"));
    ASSERT_TRUE(QDir().mkpath(env.documents));
    ASSERT_TRUE(QDir().mkpath(env.program));
    ASSERT_TRUE(QDir().mkpath(env.config));
    ASSERT_TRUE(QDir().mkpath(env.pictures));
    // The screen's own twips per pixel: 15 unless a screen case of CTest runs
    // the test at another logical DPI.
    const EnvironmentService &screen = *realServices().environment;
    env.tppX = screen.twipsPerPixelX();
    env.tppY = screen.twipsPerPixelY();
    services() = Services{&env, &random};
    flushDeletes();
    resetSceneState();
    chooserFolders().clear();
}

void CoreTest::TearDown()
{
    flushDeletes();
    resetSceneState();
    chooserFolders().clear();
    services() = m_before;
}
