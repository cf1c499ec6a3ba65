#pragma once

#include <QObject>
#include <QTimer>

namespace Toolkit {

// The shortest period a timer ticks at. The designs this toolkit serves were made
// for desktops whose timers tick at most 64 times a second; a 1 ms interval
// there means "as often as the platform allows", about every 16 ms.
inline constexpr int kShortestTimerPeriod = 16;

// The period a timer with the given interval really ticks at; 0 means it does
// not tick at all (an interval of 0 or less).
inline constexpr int timerPeriod(int interval)
{
    if (interval <= 0)
        return 0;
    return interval < kShortestTimerPeriod ? kShortestTimerPeriod : interval;
}

// A forms-toolkit timer: an interval in milliseconds and an enabled flag, both
// reading back as set. It ticks while it is enabled and its interval is above 0.
class Timer : public QObject
{
    Q_OBJECT

public:
    explicit Timer(QObject *parent = nullptr);

    void setInterval(int milliseconds);
    int interval() const { return m_interval; }

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // Whether ticks are coming, and how far apart.
    bool isTicking() const { return m_clock.isActive(); }
    int period() const { return timerPeriod(m_interval); }

signals:
    void tick();

private:
    void reschedule();

    QTimer m_clock;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace Toolkit
