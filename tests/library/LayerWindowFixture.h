#pragma once
// The character scenes of tests/core/LayerFixture.h, clicked in the library
// window as a user clicks them.

#include "tests/core/LayerFixture.h"
#include "tests/library/LibraryFixture.h"

class LayerTest : public LayerFixture<LibraryTest> {
protected:
    // Opens the library window with the master tick stopped: the tests start
    // the layers' timers themselves.
    VelmNShare &openLayers()
    {
        VelmNShare &w = openLibrary();
        w.Player->Timer1->SetEnabled(false);
        return w;
    }
    // Clicks a scene in "VELM Scenes" and starts the trace afresh.
    void load(VelmNShare &w, const QString &name)
    {
        click(w.List2, name);
        trace.clear();
    }
};
