// The game's holds: they sleep on the clock until strictly more than their
// span has passed, however short each sleep turns out.

#include "support/ScriptedSeams.h"
#include "ui/Pause.h"

#include <QApplication>
#include <QTest>

using namespace std::chrono_literals;

class TestPause : public QObject {
    Q_OBJECT

private slots:
    void holdLastsJustMoreThanItsSpan_data();
    void holdLastsJustMoreThanItsSpan();
    void workWithinTheHoldCountsTowardsIt_data();
    void workWithinTheHoldCountsTowardsIt();
};

void TestPause::holdLastsJustMoreThanItsSpan_data()
{
    QTest::addColumn<int>("millis");
    QTest::addColumn<double>("sleepShare");
    QTest::newRow("flash step") << 200 << 1.0;
    QTest::newRow("flash step, sleeps cut short") << 200 << 0.4;
    QTest::newRow("pause before the goal") << 2000 << 1.0;
    QTest::newRow("pause, sleeps cut very short") << 2000 << 0.001;
}

void TestPause::holdLastsJustMoreThanItsSpan()
{
    QFETCH(int, millis);
    QFETCH(double, sleepShare);
    ScriptedClock clock;
    clock.advance(std::chrono::hours(23) + 59min + 59s);   // wherever the clock stands
    const auto start = clock.elapsed();
    clock.sleepShare = sleepShare;
    holdFor(clock, std::chrono::milliseconds(millis));
    const auto held = clock.elapsed() - start;
    QVERIFY(held > std::chrono::milliseconds(millis));
    QVERIFY(held < std::chrono::milliseconds(millis) + 1ms);
    // It sleeps rather than spinning on the clock.
    QVERIFY(clock.sleeps < 100 || sleepShare < 0.01);
}

void TestPause::workWithinTheHoldCountsTowardsIt_data()
{
    QTest::addColumn<int>("workMillis");
    QTest::addColumn<int>("heldMillis");
    QTest::newRow("no work") << 0 << 2000;
    QTest::newRow("work shorter than the hold") << 300 << 2000;
    QTest::newRow("work longer than the hold") << 2500 << 2500;
}

void TestPause::workWithinTheHoldCountsTowardsIt()
{
    // Guards against a hold that starts counting only after the work done in
    // it: the title would stay up longer than its two seconds by the time the
    // slot machine takes to build.
    QFETCH(int, workMillis);
    QFETCH(int, heldMillis);
    ScriptedClock clock;
    bool worked = false;
    holdFor(clock, 2000ms, [&] {
        QCOMPARE(clock.sleeps, 0);
        worked = true;
        clock.advance(std::chrono::milliseconds(workMillis));
    });
    QVERIFY(worked);
    QVERIFY(clock.elapsed() > 2000ms);
    QVERIFY(clock.elapsed() >= std::chrono::milliseconds(heldMillis));
    QVERIFY(clock.elapsed() <= std::chrono::milliseconds(heldMillis) + 1ms);
}

QTEST_MAIN(TestPause)
#include "tst_pause.moc"
