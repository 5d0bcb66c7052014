#include "core/system/Timer.h"

#include "core/base/Numbers.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace {
VirtualClock *clockInUse = nullptr;
}

Timer::Timer(QObject *parent, int interval, bool enabled) : QObject(parent)
{
    m_interval = interval >= 0 && interval <= 65535 ? interval : 0;
    if (VirtualClock *clock = VirtualClock::current()) {
        m_clock = clock;
        m_clock->attach(this);
    } else {
        m_timer = new QTimer(this);
        m_timer->setTimerType(Qt::CoarseTimer);
        connect(m_timer, &QTimer::timeout, this, &Timer::fire);
    }
    SetEnabled(enabled);
}

Timer::~Timer()
{
    if (m_clock)
        m_clock->detach(this);
}

void Timer::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        start();
    else
        stop();
}

bool Timer::SetInterval(double milliseconds)
{
    const auto whole = int32Of(milliseconds);
    if (!whole || *whole < 0 || *whole > 65535)
        return false;
    if (*whole == m_interval)
        return true;
    m_interval = *whole;
    if (m_enabled) {
        stop();
        start();
    }
    return true;
}

bool Timer::SetIntervalText(const QString &text)
{
    const auto number = toReal(text);
    return number && SetInterval(*number);
}

int Timer::TimerId() const
{
    return m_timer && m_timer->isActive() ? m_timer->timerId() : 0;
}

qint64 Timer::Now() const
{
    return m_clock ? m_clock->Now() : QDeadlineTimer::current().deadline();
}

void Timer::start()
{
    if (m_interval == 0)
        return;
    if (m_timer)
        m_timer->start(m_interval);
    else if (m_clock)
        m_clock->schedule(this);
}

void Timer::stop()
{
    if (m_timer)
        m_timer->stop();
}

void Timer::fire()
{
    if (m_enabled && m_interval > 0)
        emit Tick();
}

VirtualClock::VirtualClock()
{
    Q_ASSERT(!clockInUse);
    clockInUse = this;
}

VirtualClock::~VirtualClock()
{
    for (Timer *t : std::as_const(m_timers))
        if (t)
            t->m_clock = nullptr;
    if (clockInUse == this)
        clockInUse = nullptr;
}

VirtualClock *VirtualClock::current()
{
    return clockInUse;
}

void VirtualClock::attach(Timer *timer)
{
    m_timers.append(timer);
}

void VirtualClock::detach(Timer *timer)
{
    m_timers.removeAll(timer);
}

void VirtualClock::schedule(Timer *timer)
{
    timer->m_due = m_now + timer->m_interval;
    timer->m_order = m_nextOrder++;
}

void VirtualClock::Advance(qint64 milliseconds)
{
    const qint64 end = m_now + std::max<qint64>(milliseconds, 0);
    for (;;) {
        Timer *next = nullptr;
        for (Timer *t : std::as_const(m_timers)) {
            if (!t || !t->m_enabled || t->m_interval == 0 || t->m_due > end)
                continue;
            if (!next || t->m_due < next->m_due || (t->m_due == next->m_due && t->m_order < next->m_order))
                next = t;
        }
        if (!next)
            break;
        m_now = next->m_due;
        schedule(next);
        next->fire();
    }
    m_now = end;
}
