#pragma once
// A repeating tick the upload's watchdog counts, kept behind an interface so
// that the window supplies its timer and tests drive the ticks themselves.

#include <functional>

class TickSource {
public:
    virtual ~TickSource() = default;
    // Switching on a source that is on already does not restart its period.
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    // Runs at every tick while the source is on.
    virtual void setTickHandler(std::function<void()> handler) = 0;
};
