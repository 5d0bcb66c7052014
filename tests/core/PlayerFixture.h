#pragma once
// The preview's player on its own, without a window: scenes written into the
// test's base folder (tests/core/SceneFolderFixture.h) and loaded by name as
// the library window loads a clicked one, its timers on the virtual clock.

#include "core/preview/PreviewPlayer.h"
#include "core/scene/SceneState.h"
#include "tests/core/LayerFixture.h"
#include "tests/core/SceneFolderFixture.h"

class PlayerTest : public SceneFolderFixture<CoreTest> {
protected:
    void SetUp() override
    {
        SceneFolderFixture::SetUp();
        scene().BaseFolder = baseFolder();
        ASSERT_TRUE(QDir().mkpath(base(QStringLiteral("Scenes"))));
        ASSERT_TRUE(QDir().mkpath(base(QStringLiteral("Images"))));
        startPlayer();
    }
    void TearDown() override
    {
        // What the window's close does: every section stops what it left running.
        if (player)
            player->stop();
        player.reset();
        SceneFolderFixture::TearDown();
    }

    virtual void startPlayer() { player = std::make_unique<PreviewPlayer>(); }
    // What a close of the library window and a new one do: the player's
    // sections stop, and a new player starts.
    void restart()
    {
        player->stop();
        player.reset();
        startPlayer();
    }

    // Loads the scene `name`, which the test has written: its file is found
    // and read, so the load reports no message for the window to show.
    void load(const QString &name)
    {
        const PreviewOpened opened = player->load(name);
        if (!opened.message.isEmpty())
            reported << opened.message;
        EXPECT_TRUE(opened.message.isEmpty()) << opened.message.toStdString();
        EXPECT_EQ(opened.sceneFile, base(QStringLiteral("Scenes/") + name + QStringLiteral(".scn")));
    }

    std::unique_ptr<PreviewPlayer> player;
    QStringList reported; // the messages the loads reported
};

// The character scenes of tests/core/LayerFixture.h, loaded into the player
// with its master tick stopped: the tests start the layers' timers themselves.
class PlayerLayerTest : public LayerFixture<PlayerTest> {
protected:
    void startPlayer() override
    {
        PlayerTest::startPlayer();
        player->Timer1->SetEnabled(false);
    }
    // Loads a scene and starts the trace afresh.
    void loadLayers(const QString &name)
    {
        load(name);
        trace.clear();
    }
};
