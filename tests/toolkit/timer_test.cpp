#include "ui/toolkit/timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using Toolkit::Timer;

class TimerTest : public QObject
{
    Q_OBJECT

private slots:
    void period_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("readBack");
        QTest::addColumn<int>("period");
        QTest::newRow("off") << 0 << 0 << 0;
        QTest::newRow("negative is off") << -5 << 0 << 0;
        QTest::newRow("1 ms ticks at 16 but reads back 1") << 1 << 1 << 16;
        QTest::newRow("17 ms") << 17 << 17 << 17;
    }
    void period()
    {
        QFETCH(int, interval);
        QFETCH(int, readBack);
        QFETCH(int, period);
        Timer timer;
        timer.setInterval(interval);
        QCOMPARE(timer.interval(), readBack);
        QCOMPARE(timer.period(), period);
        QCOMPARE(timer.isTicking(), period > 0);
    }

    void ticksWhileEnabledNeverFasterThanEvery16Ms()
    {
        Timer timer;
        QElapsedTimer clock;
        QList<qint64> at;
        connect(&timer, &Timer::tick, this, [&] { at.append(clock.nsecsElapsed()); });
        timer.setEnabled(false);
        timer.setInterval(1);
        QTest::qWait(60);
        QVERIFY(at.isEmpty());
        clock.start();
        timer.setEnabled(true);
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
