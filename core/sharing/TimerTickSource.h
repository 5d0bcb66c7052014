#pragma once
// The upload's watchdog ticks on a window timer: on and off is the timer's
// Enabled, and each of its ticks runs the handler. Switching on a timer that
// is on already does not restart its interval. The time is the timer's clock
// (a test's virtual clock, else a steady one).

#include "core/sharing/TickSource.h"

#include <QMetaObject>
#include <QPointer>

class Timer;

class TimerTickSource : public TickSource {
public:
    explicit TimerTickSource(Timer *timer);
    ~TimerTickSource() override;
    TimerTickSource(const TimerTickSource &) = delete;
    TimerTickSource &operator=(const TimerTickSource &) = delete;

    void setEnabled(bool on) override;
    bool isEnabled() const override;
    void setTickHandler(std::function<void()> handler) override;
    qint64 now() const override;

private:
    QPointer<Timer> m_timer;
    QMetaObject::Connection m_tick;
};
