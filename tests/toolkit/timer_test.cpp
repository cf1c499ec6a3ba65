#include "ui/toolkit/timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using Toolkit::Timer;

class TimerTest : public QObject
{
    Q_OBJECT

private slots:
    void ticksWhileEnabledNeverFasterThanEvery16Ms()
    {
        Timer timer;
        QElapsedTimer clock;
        QList<qint64> at;
        connect(&timer, &Timer::tick, this, [&] { at.append(clock.nsecsElapsed()); });
        timer.setInterval(-5); // off, read back as 0
        QCOMPARE(timer.interval(), 0);
        QVERIFY(!timer.isTicking());
        clock.start();
        timer.setInterval(1);
        QCOMPARE(timer.interval(), 1); // as set, though it ticks at 16 ms
        QTRY_VERIFY_WITH_TIMEOUT(at.size() >= 20, 10000);
        timer.setEnabled(false);
        const qsizetype counted = at.size();
        QTest::qWait(80);
        QCOMPARE(at.size(), counted);
        // A late tick may be followed by a quicker one, so only the running total tells:
        // the n-th tick of a 1 ms timer comes no sooner than n x 16 ms after the start.
        for (int n = 1; n <= counted; ++n)
            QVERIFY2(at[n - 1] >= n * 16'000'000LL - 1'000'000LL,
                     qPrintable(QStringLiteral("tick %1 came after %2 ms").arg(n).arg(at[n - 1] / 1e6)));
    }
};

QTEST_GUILESS_MAIN(TimerTest)
#include "timer_test.moc"
