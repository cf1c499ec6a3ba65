#include "timer.h"

namespace Toolkit {

Timer::Timer(QObject *parent) : QObject(parent)
{
    // Coarse timers may fire up to 5% early; the shortest period is a floor.
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setInterval(int milliseconds)
{
    m_interval = milliseconds < 0 ? 0 : milliseconds;
    reschedule();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    reschedule();
}

void Timer::reschedule()
{
    const int every = period();
    if (!m_enabled || every == 0) {
        m_clock.stop();
        return;
    }
    // Restarting counts the new period from now, as a changed interval should.
    m_clock.start(every);
}

} // namespace Toolkit
