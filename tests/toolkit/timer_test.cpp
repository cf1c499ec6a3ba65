#include "ui/toolkit/timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using Toolkit::Timer;

class TimerTest : public QObject
{
    Q_OBJECT

private slots:
    void period_data();
    void period();
    void readsBackAsSet();
    void ticksOnlyWhenEnabledWithAnInterval();
    void neverTicksFasterThanEvery16Ms();
    void stopsAndRestarts();
};

void TimerTest::period_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("period");
    QTest::newRow("off") << 0 << 0;
    QTest::newRow("negative is off") << -5 << 0;
    QTest::newRow("1 ms") << 1 << 16;
    QTest::newRow("15 ms") << 15 << 16;
    QTest::newRow("16 ms") << 16 << 16;
    QTest::newRow("17 ms") << 17 << 17;
    QTest::newRow("30 ms") << 30 << 30;
    QTest::newRow("a minute") << 60000 << 60000;
}

void TimerTest::period()
{
    QFETCH(int, interval);
    QFETCH(int, period);
    QCOMPARE(Toolkit::timerPeriod(interval), period);
    Timer timer;
    timer.setInterval(interval);
    QCOMPARE(timer.period(), period);
    QCOMPARE(timer.isTicking(), period > 0);
}

void TimerTest::readsBackAsSet()
{
    Timer timer;
    QCOMPARE(timer.interval(), 0);
    QVERIFY(timer.isEnabled());
    timer.setInterval(1);
    QCOMPARE(timer.interval(), 1);  // not the 16 it ticks at
    timer.setEnabled(false);
    QVERIFY(!timer.isEnabled());
    QCOMPARE(timer.interval(), 1);
    timer.setInterval(-3);
    QCOMPARE(timer.interval(), 0);
}

void TimerTest::ticksOnlyWhenEnabledWithAnInterval()
{
    Timer timer;
    QSignalSpy ticks(&timer, &Timer::tick);
    QVERIFY(!timer.isTicking());
    QTest::qWait(60);
    QCOMPARE(ticks.count(), 0);

    timer.setEnabled(false);
    timer.setInterval(1);
    QVERIFY(!timer.isTicking());
    QTest::qWait(60);
    QCOMPARE(ticks.count(), 0);

    timer.setEnabled(true);
    QVERIFY(timer.isTicking());
    QVERIFY(ticks.wait(2000));
}

void TimerTest::neverTicksFasterThanEvery16Ms()
{
    // The n-th tick of a 1 ms timer comes no sooner than n x 16 ms after the
    // start; a late tick may be followed by a quicker one, so only the running
    // total tells.
    Timer timer;
    QElapsedTimer clock;
    QList<qint64> at;
    connect(&timer, &Timer::tick, this, [&] { at.append(clock.nsecsElapsed()); });
    clock.start();
    timer.setInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(at.size() >= 20, 10000);
    timer.setEnabled(false);
    for (int n = 1; n <= at.size(); ++n)
        QVERIFY2(at[n - 1] >= n * 16'000'000LL - 1'000'000LL,
                 qPrintable(QStringLiteral("tick %1 came after %2 ms").arg(n).arg(at[n - 1] / 1e6)));
}

void TimerTest::stopsAndRestarts()
{
    Timer timer;
    timer.setInterval(16);
    QSignalSpy ticks(&timer, &Timer::tick);
    QVERIFY(ticks.wait(2000));
    timer.setEnabled(false);
    const int counted = ticks.count();
    QTest::qWait(80);
    QCOMPARE(ticks.count(), counted);
    timer.setEnabled(true);
    QVERIFY(ticks.wait(2000));
    timer.setInterval(0);
    QVERIFY(!timer.isTicking());
    QVERIFY(timer.isEnabled());
}

QTEST_GUILESS_MAIN(TimerTest)
#include "timer_test.moc"
