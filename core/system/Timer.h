#pragma once
// A window timer: enabled or not, with an interval in milliseconds, raising
// Tick every interval while it is enabled. Its enabled state is the state of
// whatever it animates, so:
//   - enabling a timer that is already enabled does not restart its interval;
//   - an interval of 0 never ticks, though the timer reads as enabled;
//   - an interval that is not a whole number of 0..65535 milliseconds (after
//     rounding half to even) is refused and the old one kept;
//   - a different interval restarts an enabled timer's count from now.
//
// Timers run on QTimer, or on a VirtualClock when a test has made one: then
// time moves only when the test advances the clock, and every tick that falls
// due fires in order, so a test runs minutes of animation without waiting.
//
// Handlers connect to Tick with the window as the context object, so a tick
// never reaches a destroyed window; a timer belongs to its window and goes
// with it.

#include <QObject>
#include <QPointer>
#include <QString>

class QTimer;
class VirtualClock;

class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QObject *parent, int interval, bool enabled);
    ~Timer() override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    int Interval() const { return m_interval; }
    // Returns false, keeping the old interval, for a value outside 0..65535.
    [[nodiscard]] bool SetInterval(double milliseconds);
    // The same for a text, read as a number ("." or "," as the point).
    [[nodiscard]] bool SetIntervalText(const QString &text);

    // The running QTimer's id; 0 when it is not running or on a virtual clock.
    int TimerId() const;

    // The time in milliseconds on the clock this timer runs on: the virtual
    // clock's, or a steady clock's that a change of the system's time does
    // not move. Only differences between two readings mean anything.
    qint64 Now() const;

signals:
    void Tick();

private:
    friend class VirtualClock;
    void start();
    void stop();
    void fire();

    bool m_enabled = false;
    int m_interval = 0;
    QTimer *m_timer = nullptr;      // real mode
    VirtualClock *m_clock = nullptr; // virtual mode
    qint64 m_due = 0;               // virtual mode: time of the next tick
    quint64 m_order = 0;            // virtual mode: ties fire in the order they were scheduled
};

// Test time. While one exists, every Timer made after it runs on it.
class VirtualClock {
public:
    VirtualClock();
    ~VirtualClock();
    VirtualClock(const VirtualClock &) = delete;
    VirtualClock &operator=(const VirtualClock &) = delete;

    // The clock in use, or nullptr.
    static VirtualClock *current();

    qint64 Now() const { return m_now; }
    // Moves time on by `milliseconds`, firing every tick that falls due on the
    // way, earliest first. A handler may enable, disable or re-time timers;
    // what it schedules within the span fires within it.
    void Advance(qint64 milliseconds);

private:
    friend class Timer;
    void attach(Timer *timer);
    void detach(Timer *timer);
    void schedule(Timer *timer);

    qint64 m_now = 0;
    quint64 m_nextOrder = 0;
    QList<QPointer<Timer>> m_timers; // a timer leaves the list as it is destroyed
};
