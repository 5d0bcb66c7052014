#pragma once
// A repeating tick and the clock it keeps, for the upload's watchdog, kept
// behind an interface so that the window supplies its timer and tests drive
// the ticks and the time themselves. The watchdog measures its time on the
// clock, so a tick that comes late (the thread was busy) does not stretch it.

#include <QtGlobal>

#include <functional>

class TickSource {
public:
    virtual ~TickSource() = default;
    // Switching on a source that is on already does not restart its period.
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    // Runs at every tick while the source is on.
    virtual void setTickHandler(std::function<void()> handler) = 0;
    // The time in milliseconds on a steady clock; only differences count.
    virtual qint64 now() const = 0;
};
