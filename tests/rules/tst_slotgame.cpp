// The rules of a day at the slot machine, without a window: the draw, the
// reels and where a Stop lands them, the judging, the payout, which ending
// follows, and what a new game resets.

#include "rules/SlotGame.h"
#include "support/ScriptedSeams.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The symbols on frames 0, 2, ..., 14 of each strip, as the rules state them.
const char *const strips[3] = {"acbadcad", "adcbadcb", "adcbdcbd"};

QString letter(int reel, int symbolFrame)
{
    return QString(QChar::fromLatin1(strips[reel][symbolFrame / 2]));
}

struct Frames {
    int reel[3];
};

// A game at its starting values, played through the model the way the main
// window plays it.
struct Play {
    ScriptedRandom random;
    SlotGame game{random};
    GameState &state = game.state();

    Play() { game.reset(); }

    Day press(double u = ScriptedRandom::spin)
    {
        random.queue(u);
        game.countDay();
        return game.drawDay();
    }
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            game.advanceReels();
    }
    // Ticks until the reels show `frame`, a frame of this spin, then stops reel `reel` there.
    void stopOn(int reel, int frame)
    {
        while (state.tick != 0 && (reels::shownFrame(state.tick) != frame || !reels::hasTurnedThisSpin(state.tick)))
            tick();
        game.stop(reel);
    }
    // A whole spin stopped on these frames; true when the spin came to its end.
    bool spin(const Frames &frames)
    {
        press();
        for (int reel = 0; reel < 3; ++reel)
            stopOn(reel, frames.reel[reel]);
        return game.endSpinIfAllStopped();
    }
};

constexpr Frames faces{{0, 0, 0}};
constexpr Frames crests{{4, 6, 6}};
constexpr Frames bars{{2, 4, 4}};
constexpr Frames lanterns{{8, 2, 2}};
constexpr Frames noLine{{0, 2, 2}};   // "a", "d", "d"

} // namespace

Q_DECLARE_METATYPE(Frames)

class TestSlotGame : public QObject {
    Q_OBJECT

private slots:
    void newGameStartsFromTheStartingValues();
    void press_data();
    void press();
    void landing_data();
    void landing();
    void stopBeforeTheFirstTickKeepsWhatTheReelShowed();
    void stoppingOneReelLeavesTheOthersInStep();
    void stopOnAStandingReelDoesNothing();
    void ticksMoveNothingWithoutASpin();
    void judging_data();
    void judging();
    void lineMustBeShownDuringThisSpin_data();
    void lineMustBeShownDuringThisSpin();
    void visitorOnTheLastDay_data();
    void visitorOnTheLastDay();
    void inBetweenFramesNameTheirNeighbours();
    void drawsCoverTheirWholeRange();
};

void TestSlotGame::newGameStartsFromTheStartingValues()
{
    Play play;
    QCOMPARE(play.state.ryo, 1000);
    QCOMPARE(play.state.spinCount, 0);
    QCOMPARE(play.state.goalRyo, 5000);
    QCOMPARE(play.state.dayLimit, 365);
    QCOMPARE(play.state.tick, 0);

    // A game that ended with a line still turning nothing, then a new one:
    // the reels and the last code stay, the rest starts afresh.
    play.state.ryo = 4505;
    QVERIFY(play.spin(faces));
    QVERIFY(play.game.isLine());
    play.game.payLine();
    QVERIFY(play.game.goalReached());
    const QString code = play.game.makeResultCode();
    play.game.reset();
    QCOMPARE(play.state.ryo, 1000);
    QCOMPARE(play.state.spinCount, 0);
    QCOMPARE(play.state.reelSymbol, (std::array<QString, 3>{u"a"_s, u"a"_s, u"a"_s}));
    QCOMPARE(play.state.resultCode, code);
}

void TestSlotGame::press_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<double>("u");
    QTest::addColumn<bool>("visitor");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("ryoAfter");

    QTest::newRow("u = 0 is visitor 0, no fee") << 1000 << 0.0 << true << 0 << 900;
    QTest::newRow("visitor 10 is the last visitor") << 1000 << 0.2199 << true << 10 << 1030;
    QTest::newRow("r = 11 is the first spin") << 1000 << 0.22 << false << 11 << 995;
    QTest::newRow("u just below 1 spins") << 1000 << std::nextafter(1.0, 0.0) << false << 49 << 995;
    QTest::newRow("the fee is taken below zero") << 3 << 0.5 << false << 25 << -2;
    QTest::newRow("the fee leaves exactly 0") << 5 << 0.5 << false << 25 << 0;
}

void TestSlotGame::press()
{
    QFETCH(int, ryo);
    QFETCH(double, u);
    QFETCH(bool, visitor);
    QFETCH(int, r);
    QFETCH(int, ryoAfter);

    Play play;
    play.state.ryo = ryo;
    const Day day = play.press(u);
    QCOMPARE(day.visitor, visitor);
    QCOMPARE(day.r, r);
    if (visitor)
        play.game.visit(r);
    QCOMPARE(play.state.ryo, ryoAfter);
    // Every press is a day, whatever it turns into.
    QCOMPARE(play.state.spinCount, 1);
    // A spin sets all three reels running from tick 1; a visitor moves none.
    QCOMPARE(play.state.tick, visitor ? 0 : 1);
    QCOMPARE(play.state.reelRunning, (std::array<bool, 3>{!visitor, !visitor, !visitor}));
}

void TestSlotGame::landing_data()
{
    QTest::addColumn<int>("reel");
    QTest::addColumn<int>("ticks");        // timer ticks before the Stop
    QTest::addColumn<int>("restFrame");
    QTest::addColumn<bool>("moved");       // from an in-between picture to the next symbol
    QTest::addColumn<QString>("symbol");

    for (int reel = 0; reel < 3; ++reel) {
        // After n ticks the reel shows frame n mod 16 and the next tick would
        // show n + 1: an in-between frame on screen lands on the next symbol,
        // frame 15 on frame 0.
        for (int ticks = 1; ticks <= 16; ++ticks) {
            const int shown = ticks % 16;
            const bool between = shown % 2 != 0;
            const int rest = between ? (shown + 1) % 16 : shown;
            QTest::addRow("reel %d, frame %d on screen", reel + 1, shown)
                << reel << ticks << rest << between << letter(reel, rest);
        }
    }
}

void TestSlotGame::landing()
{
    QFETCH(int, reel);
    QFETCH(int, ticks);
    QFETCH(int, restFrame);
    QFETCH(bool, moved);
    QFETCH(QString, symbol);

    Play play;
    play.press();
    play.tick(ticks);
    const ReelStop stopped = play.game.stop(reel);

    QVERIFY(stopped.wasRunning);
    QCOMPARE(stopped.landedOn.has_value(), moved);
    if (moved)
        QCOMPARE(*stopped.landedOn, restFrame);
    QCOMPARE(play.state.reelSymbol[reel], symbol);
    // The landing leaves the tick alone, and the other reels run on.
    QCOMPARE(play.state.tick, ticks + 1);
    for (int other = 0; other < 3; ++other)
        QCOMPARE(play.state.reelRunning[other], other != reel);
    QVERIFY(!play.game.endSpinIfAllStopped());
}

void TestSlotGame::stopBeforeTheFirstTickKeepsWhatTheReelShowed()
{
    Play play;
    // In the first spin of a run the reels have shown nothing yet.
    play.press();
    QVERIFY(!play.game.stop(1).landedOn);
    QCOMPARE(play.state.reelSymbol[1], QString());

    play.stopOn(0, 4);
    play.stopOn(2, 4);   // "b", -, "c"
    QVERIFY(play.game.endSpinIfAllStopped());
    play.press();
    play.tick();         // the first tick shows frame 1, an in-between picture
    QCOMPARE(play.state.reelSymbol[0], u"b");
    play.game.stop(0);
    // Frame 1 was on screen: the reel lands on frame 2.
    QCOMPARE(play.state.reelSymbol[0], letter(0, 2));
    QCOMPARE(play.state.reelSymbol[2], u"c");
}

void TestSlotGame::stoppingOneReelLeavesTheOthersInStep()
{
    Play play;
    play.press();
    play.tick(3);            // frames 1, 2, 3 shown; next is 4
    play.game.stop(0);       // lands on frame 4
    QCOMPARE(play.state.reelSymbol[0], u"b");
    QCOMPARE(play.state.tick, 4);
    play.tick(3);            // frames 4, 5, 6 on reels 2 and 3
    QCOMPARE(play.state.reelSymbol, (std::array<QString, 3>{u"b"_s, u"b"_s, u"b"_s}));
    QVERIFY(play.state.reelRunning[1] && play.state.reelRunning[2]);
}

void TestSlotGame::stopOnAStandingReelDoesNothing()
{
    Play play;
    play.press();
    play.tick(5);
    play.game.stop(0);
    const GameState once = play.state;
    play.tick(4);
    QVERIFY(!play.game.stop(0).wasRunning);   // again: the reel stands
    QCOMPARE(play.state.reelSymbol[0], once.reelSymbol[0]);
    QVERIFY(play.state.reelRunning[1]);

    play.game.stop(1);
    play.game.stop(2);
    QVERIFY(play.game.endSpinIfAllStopped());
    const GameState idle = play.state;
    QVERIFY(!play.game.stop(1).wasRunning);   // while idle
    QCOMPARE(play.state.reelSymbol, idle.reelSymbol);
    QCOMPARE(play.state.ryo, idle.ryo);
    QCOMPARE(play.state.tick, 0);
}

void TestSlotGame::ticksMoveNothingWithoutASpin()
{
    Play play;
    play.tick(40);
    QCOMPARE(play.state.tick, 0);
    QCOMPARE(play.state.reelSymbol, (std::array<QString, 3>{}));

    // Nor during a visitor.
    play.press(0.1);
    QVERIFY(!play.game.advanceReels());
    QCOMPARE(play.state.tick, 0);
}

void TestSlotGame::judging_data()
{
    QTest::addColumn<int>("ryo");          // before the fee of 5
    QTest::addColumn<int>("days");         // before the press
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<bool>("line");
    QTest::addColumn<int>("ryoAfter");
    QTest::addColumn<Ending>("ending");    // after a miss
    QTest::addColumn<bool>("goal");        // after a line
    QTest::addColumn<QString>("message");  // of a line

    QTest::newRow("three faces pay 500") << 1000 << 0 << faces << true << 1495 << Ending::None << false << u"５００両 獲得！"_s;
    QTest::newRow("three crests pay 300") << 1000 << 0 << crests << true << 1295 << Ending::None << false << u"３００両 獲得！"_s;
    QTest::newRow("three bars pay 100") << 1000 << 0 << bars << true << 1095 << Ending::None << false << u"１００両 獲得！"_s;
    QTest::newRow("three lanterns pay like bars") << 1000 << 0 << lanterns << true << 1095 << Ending::None << false << u"１００両 獲得！"_s;
    QTest::newRow("bars after the fee took money below zero") << 3 << 0 << bars << true << 98 << Ending::None << false << u"１００両 獲得！"_s;
    QTest::newRow("crests from -3 after the fee") << 2 << 0 << crests << true << 297 << Ending::None << false << u"３００両 獲得！"_s;
    QTest::newRow("bars from 4899 stop one short") << 4904 << 0 << bars << true << 4999 << Ending::None << false << u"１００両 獲得！"_s;
    QTest::newRow("faces from 4500 reach the goal exactly") << 4505 << 0 << faces << true << 5000 << Ending::None << true << u"５００両 獲得！"_s;
    QTest::newRow("a line on day 365 goes on") << 1000 << 364 << faces << true << 1495 << Ending::None << false << u"５００両 獲得！"_s;
    QTest::newRow("a line past day 365 goes on") << 1000 << 400 << crests << true << 1295 << Ending::None << false << u"３００両 獲得！"_s;
    QTest::newRow("miss with money and days left") << 1000 << 10 << noLine << false << 995 << Ending::None << false << QString();
    QTest::newRow("miss leaving exactly 0") << 5 << 10 << noLine << false << 0 << Ending::MoneyGone << false << QString();
    QTest::newRow("miss leaving 1") << 6 << 10 << noLine << false << 1 << Ending::None << false << QString();
    QTest::newRow("miss below zero") << 3 << 10 << noLine << false << -2 << Ending::MoneyGone << false << QString();
    QTest::newRow("miss on day 364 goes on") << 1000 << 363 << noLine << false << 995 << Ending::None << false << QString();
    QTest::newRow("miss on day 365 ends the year") << 1000 << 364 << noLine << false << 995 << Ending::TimeUp << false << QString();
    QTest::newRow("miss past the last day ends the year") << 1000 << 370 << noLine << false << 995 << Ending::TimeUp << false << QString();
    QTest::newRow("broke on day 365: money first") << 4 << 364 << noLine << false << -1 << Ending::MoneyGone << false << QString();
    QTest::newRow("exactly 0 on day 365: money first") << 5 << 364 << noLine << false << 0 << Ending::MoneyGone << false << QString();
}

void TestSlotGame::judging()
{
    QFETCH(int, ryo);
    QFETCH(int, days);
    QFETCH(Frames, frames);
    QFETCH(bool, line);
    QFETCH(int, ryoAfter);
    QFETCH(Ending, ending);
    QFETCH(bool, goal);
    QFETCH(QString, message);

    Play play;
    play.state.ryo = ryo;
    play.state.spinCount = days;
    QVERIFY(play.spin(frames));
    QCOMPARE(play.state.tick, 0);
    QCOMPARE(play.game.isLine(), line);
    if (line) {
        const Payout &paid = play.game.payLine();
        QCOMPARE(messageOf(paid), message);
        QCOMPARE(play.game.goalReached(), goal);
    } else {
        QCOMPARE(play.game.endingAfterMiss(), ending);
    }
    QCOMPARE(play.state.ryo, ryoAfter);
    QCOMPARE(play.state.spinCount, days + 1);
}

void TestSlotGame::lineMustBeShownDuringThisSpin_data()
{
    QTest::addColumn<bool>("faceLineFirst");
    QTest::addColumn<int>("stoppedAtOnce");   // reels stopped before the first tick
    QTest::newRow("three blank reels, stopped before the first tick") << false << 3;
    QTest::newRow("last spin's line, stopped again before the first tick") << true << 3;
    QTest::newRow("one reel of last spin's line stopped before the first tick") << true << 1;
}

void TestSlotGame::lineMustBeShownDuringThisSpin()
{
    // Guards against paying a line that the reels did not show in this spin:
    // reels stopped before the first tick keep the last spin's symbols (or
    // none at all), which compare equal; Start and the Stops clicked during a
    // winning flash would have the old line paid again and again.
    QFETCH(bool, faceLineFirst);
    QFETCH(int, stoppedAtOnce);

    Play play;
    if (faceLineFirst) {
        QVERIFY(play.spin(faces));
        play.game.payLine();
    }
    const int before = play.state.ryo;
    play.press();
    for (int reel = 0; reel < stoppedAtOnce; ++reel)
        play.game.stop(reel);
    for (int reel = stoppedAtOnce; reel < 3; ++reel)
        play.stopOn(reel, faces.reel[reel]);
    QVERIFY(play.game.endSpinIfAllStopped());

    QVERIFY(!play.game.isLine());
    QCOMPARE(play.state.ryo, before - 5);
    QCOMPARE(play.state.reelSymbol[0], faceLineFirst ? u"a"_s : QString());
}

void TestSlotGame::visitorOnTheLastDay_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("r");
    QTest::addColumn<EventClosing>("closing");
    QTest::addColumn<bool>("yearOver");

    QTest::newRow("ordinary visitor on day 364") << 1000 << 363 << 5 << EventClosing::Next << false;
    QTest::newRow("ordinary visitor on day 365") << 1000 << 364 << 5 << EventClosing::Next << true;
    QTest::newRow("gain reaching the goal on day 365") << 4990 << 364 << 9 << EventClosing::GoalReached << true;
    QTest::newRow("loss emptying the purse on day 365") << 50 << 364 << 0 << EventClosing::MoneyGone << true;
}

void TestSlotGame::visitorOnTheLastDay()
{
    // The window ends the year whatever the visitor's own button would lead to.
    QFETCH(int, ryo);
    QFETCH(int, days);
    QFETCH(int, r);
    QFETCH(EventClosing, closing);
    QFETCH(bool, yearOver);

    Play play;
    play.state.ryo = ryo;
    play.state.spinCount = days;
    const Day day = play.press((r + 0.5) / 50);
    QVERIFY(day.visitor);
    QCOMPARE(play.game.visit(day.r), closing);
    QCOMPARE(play.game.yearIsOver(), yearOver);
}

void TestSlotGame::inBetweenFramesNameTheirNeighbours()
{
    for (int reel = 0; reel < 3; ++reel) {
        for (int frame = 1; frame < 16; frame += 2) {
            const auto between = reels::betweenAt(reel, frame);
            QCOMPARE(between.leaving, strips[reel][(frame - 1) / 2]);
            QCOMPARE(between.entering, strips[reel][((frame + 1) % 16) / 2]);
            QVERIFY(reels::symbolAt(reel, frame).isEmpty());
        }
    }
}

void TestSlotGame::drawsCoverTheirWholeRange()
{
    ScriptedRandom random;
    for (double u : {0.0, 0.2199, 0.22, 0.5, std::nextafter(1.0, 0.0)})
        random.queue(u);
    QCOMPARE(drawWhole(random, 50), 0);
    QCOMPARE(drawWhole(random, 50), 10);
    QCOMPARE(drawWhole(random, 50), 11);
    QCOMPARE(drawWhole(random, 50), 25);
    QCOMPARE(drawWhole(random, 50), 49);
}

QTEST_GUILESS_MAIN(TestSlotGame)
#include "tst_slotgame.moc"
