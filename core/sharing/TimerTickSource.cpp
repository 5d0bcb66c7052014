#include "core/sharing/TimerTickSource.h"

#include "core/system/Timer.h"

#include <QDeadlineTimer>

TimerTickSource::TimerTickSource(Timer *timer) : m_timer(timer) {}

TimerTickSource::~TimerTickSource()
{
    QObject::disconnect(m_tick);
}

void TimerTickSource::setEnabled(bool on)
{
    if (m_timer)
        m_timer->SetEnabled(on);
}

bool TimerTickSource::isEnabled() const
{
    return m_timer && m_timer->Enabled();
}

void TimerTickSource::setTickHandler(std::function<void()> handler)
{
    QObject::disconnect(m_tick);
    if (m_timer)
        m_tick = QObject::connect(m_timer, &Timer::Tick, m_timer, std::move(handler));
}

qint64 TimerTickSource::now() const
{
    return m_timer ? m_timer->Now() : QDeadlineTimer::current().deadline();
}
