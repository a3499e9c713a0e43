// A day at the slot machine: Start, the three Stops, the judging, the flash
// and the payout, driven by clicks and timer ticks on the real main window.

#include "support/GameFixture.h"

#include "game/Reels.h"
#include "ui/Fonts.h"

#include <QMouseEvent>
#include <QWindow>

using namespace std::chrono_literals;

namespace {
// Frames of each reel that show the same symbol on all three strips.
struct Line {
    const char *symbol;
    int frames[3];
    int pays;
    const char *message;
};
constexpr Line faces{"a", {0, 0, 0}, 500, "５００両 獲得！"};
constexpr Line crests{"b", {4, 6, 6}, 300, "３００両 獲得！"};
constexpr Line bars{"c", {2, 4, 4}, 100, "１００両 獲得！"};
constexpr Line lanterns{"d", {8, 2, 2}, 100, "１００両 獲得！"};
constexpr int noLine[3] = {0, 2, 2};   // "a", "d", "d"
} // namespace

class TestSpinCycle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void startsAtTheStartingValues();
    void startCountsTheDayBeforeTheDraw();
    void spinTakesTheFeeEvenBelowZero();
    void lineAfterTheFeeTookMoneyBelowZeroIsPaid();
    void endingsAfterAMiss_data();
    void endingsAfterAMiss();
    void matchOnOrAfterTheLastDayDoesNotEndTheGame();
    void payTable_data();
    void payTable();
    void flashTogglesSixTimesMoreThan200msApartBeforeThePayout();
    void lastStopKeepsItsCaptionThroughFlashAndPause();
    void goalSpinShowsTheOldTotalUntilTheEnding();
    void inputDuringTheGoalPauseDoesNotReachTheHiddenMachine();
    void threeUnturnedBlankReelsDoNotPay();
    void lineReplayedDuringTheFlashIsNotPaidAgain();
    void stoppingOneReelLeavesTheOthersInStep();
    void stopOnAnIdleReelOnlyClearsItsCaption();
    void timerDoesNothingWithoutASpin();
    void startIsReplacedByTheBlankButtonUntilTheSpinIsJudged();
    void newGameKeepsTheReelPicturesAndSymbols();
    void quitting_data();
    void quitting();
};

void TestSpinCycle::startsAtTheStartingValues()
{
    GameFixture game;
    QVERIFY(game.main.isVisible());
    QCOMPARE(game.text("lblCount"), u"0");
    QCOMPARE(game.text("lblTensuu"), u"1000");
    QVERIFY(!game.shown("lblMsg"));
    QVERIFY(game.shown("cmdStart"));
    QVERIFY(!game.shown("cmdDamy"));
    QCOMPARE(game.caption("cmdStart"), u"始");
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.stopButton(reel)->text(), QString());
    QCOMPARE(game.state().goalRyo, 5000);
    QCOMPARE(game.state().dayLimit, 365);
    QVERIFY(game.find<QTimer>("Timer1")->isActive());
    QCOMPARE(game.find<QTimer>("Timer1")->interval(), 50);
}

void TestSpinCycle::startCountsTheDayBeforeTheDraw()
{
    GameFixture game;
    QString countAtDraw;
    bool startShownAtDraw = true;
    game.machine.random.onDraw = [&] {
        countAtDraw = game.text("lblCount");
        startShownAtDraw = game.shown("cmdStart");
    };
    game.pressStartForVisitor(3);
    QCOMPARE(countAtDraw, u"1");
    QVERIFY(!startShownAtDraw);
    QCOMPARE(game.state().spinCount, 1);
}

void TestSpinCycle::spinTakesTheFeeEvenBelowZero()
{
    GameFixture game;
    game.state().ryo = 3;
    game.pressStartForSpin();
    QCOMPARE(game.state().ryo, -2);
    QCOMPARE(game.text("lblTensuu"), u"-2");
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.stopButton(reel)->text(), u"止");
    game.stopOn(0, noLine[0]);
    game.stopOn(1, noLine[1]);
    game.stopOn(2, noLine[2]);
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover2")));
    QVERIFY(!game.main.isVisible());
}

void TestSpinCycle::lineAfterTheFeeTookMoneyBelowZeroIsPaid()
{
    GameFixture game;
    game.state().ryo = 3;
    game.spinAndStopOn(bars.frames[0], bars.frames[1], bars.frames[2]);
    QCOMPARE(game.state().ryo, 98);
    QCOMPARE(game.text("lblTensuu"), u"98");
    QVERIFY(game.main.isVisible());
    QVERIFY(game.shown("cmdStart"));
}

void TestSpinCycle::endingsAfterAMiss_data()
{
    QTest::addColumn<int>("ryoBefore");     // before the fee of 5
    QTest::addColumn<int>("daysBefore");
    QTest::addColumn<QString>("ending");    // empty: the game goes on

    QTest::newRow("money and days left") << 1000 << 10 << QString();
    QTest::newRow("exactly 0 left") << 5 << 10 << u"frmGover2"_qs;
    QTest::newRow("1 ryo left") << 6 << 10 << QString();
    QTest::newRow("day 364 goes on") << 1000 << 363 << QString();
    QTest::newRow("day 365 ends") << 1000 << 364 << u"frmGover3"_qs;
    QTest::newRow("past the last day ends") << 1000 << 370 << u"frmGover3"_qs;
    QTest::newRow("broke on day 365: money first") << 4 << 364 << u"frmGover2"_qs;
}

void TestSpinCycle::endingsAfterAMiss()
{
    QFETCH(int, ryoBefore);
    QFETCH(int, daysBefore);
    QFETCH(QString, ending);

    GameFixture game;
    game.state().ryo = ryoBefore;
    game.state().spinCount = daysBefore;
    game.spinAndStopOn(noLine[0], noLine[1], noLine[2]);

    QCOMPARE(game.main.isVisible(), ending.isEmpty());
    for (const QString &name : {u"frmGover1"_qs, u"frmGover2"_qs, u"frmGover3"_qs})
        QCOMPARE(GameFixture::windowShown(name), name == ending);
}

void TestSpinCycle::matchOnOrAfterTheLastDayDoesNotEndTheGame()
{
    GameFixture game;
    game.state().spinCount = 364;
    game.spinAndStopOn(faces.frames[0], faces.frames[1], faces.frames[2]);
    QCOMPARE(game.state().spinCount, 365);
    QVERIFY(game.main.isVisible());
    QVERIFY(game.shown("cmdStart"));

    game.spinAndStopOn(crests.frames[0], crests.frames[1], crests.frames[2]);
    QVERIFY(game.main.isVisible());

    game.spinAndStopOn(noLine[0], noLine[1], noLine[2]);
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover3")));
}

void TestSpinCycle::payTable_data()
{
    QTest::addColumn<int>("line");
    const Line *lines[] = {&faces, &crests, &bars, &lanterns};
    for (int i = 0; i < 4; ++i)
        QTest::addRow("three %s", lines[i]->symbol) << i;
}

void TestSpinCycle::payTable()
{
    QFETCH(int, line);
    const Line &expected = *std::array{&faces, &crests, &bars, &lanterns}[line];

    GameFixture game;
    game.spinAndStopOn(expected.frames[0], expected.frames[1], expected.frames[2]);
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.state().reelSymbol[reel], QString::fromLatin1(expected.symbol));
    QCOMPARE(game.state().ryo, 1000 - 5 + expected.pays);
    QCOMPARE(game.text("lblTensuu"), QString::number(1000 - 5 + expected.pays));
    QCOMPARE(game.text("lblMsg"), QString::fromUtf8(expected.message));
    QVERIFY(game.shown("lblMsg"));

    // The next press hides the message again.
    game.pressStartForSpin();
    QVERIFY(!game.shown("lblMsg"));
}

void TestSpinCycle::flashTogglesSixTimesMoreThan200msApartBeforeThePayout()
{
    GameFixture game;
    std::vector<int> ryoAtToggle;
    game.machine.flash.onToggle = [&] { ryoAtToggle.push_back(game.state().ryo); };
    const auto start = game.machine.clock.elapsed();
    game.spinAndStopOn(faces.frames[0], faces.frames[1], faces.frames[2]);

    const auto &at = game.machine.flash.toggledAt;
    QCOMPARE(at.size(), 6u);
    auto previous = start;
    for (auto t : at) {
        QVERIFY2(t - previous > 200ms, "each step lasts more than 200 ms");
        QVERIFY2(t - previous < 202ms, "and not much longer");
        previous = t;
    }
    // All six toggles come before the payout.
    QCOMPARE(ryoAtToggle, std::vector<int>(6, 995));
    QCOMPARE(game.state().ryo, 1495);
    // An even number of toggles leaves the window's own highlight off.
    QVERIFY(game.machine.flash.toggledAt.size() % 2 == 0);
}

void TestSpinCycle::lastStopKeepsItsCaptionThroughFlashAndPause()
{
    GameFixture game;
    game.state().ryo = 4505;
    QStringList seen;
    game.machine.clock.duringSleep = [&] { seen << game.stopButton(1)->text(); };
    game.pressStartForSpin();
    game.stopOn(0, 0);
    game.stopOn(2, 0);
    game.stopOn(1, 0);   // the last one pressed

    QVERIFY(!seen.isEmpty());
    for (const QString &caption : seen)
        QCOMPARE(caption, u"止");
    QCOMPARE(game.stopButton(1)->text(), QString());
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover1")));
}

void TestSpinCycle::goalSpinShowsTheOldTotalUntilTheEnding()
{
    GameFixture game;
    game.state().ryo = 4505;   // 4500 after the fee, 5000 with three faces
    QStringList totals;
    bool messageShown = false;
    bool endingShown = false;
    game.machine.clock.duringSleep = [&] {
        totals << game.text("lblTensuu");
        messageShown = messageShown || game.shown("lblMsg");
        endingShown = endingShown || GameFixture::windowShown(QStringLiteral("frmGover1"));
    };
    const auto before = game.machine.clock.elapsed();
    game.spinAndStopOn(faces.frames[0], faces.frames[1], faces.frames[2]);

    QCOMPARE(game.state().ryo, 5000);
    QVERIFY(totals.size() >= 7);   // six flash steps and the pause
    for (const QString &total : totals)
        QCOMPARE(total, u"4500");
    QVERIFY(!messageShown);
    QVERIFY(!endingShown);
    // Six steps of more than 200 ms and a pause of more than 2 s.
    QVERIFY(game.machine.clock.elapsed() - before > 1200ms + 2000ms);
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover1")));
    QVERIFY(!game.main.isVisible());
}

void TestSpinCycle::inputDuringTheGoalPauseDoesNotReachTheHiddenMachine()
{
    // Guards against a click made during the pause before the winning ending
    // reaching the main window once it is hidden: the window system hands it
    // over only after the pause, when Start stands in the hidden window again
    // and would begin a day of the game that has just ended.
    GameFixture game;
    game.state().ryo = 4505;
    QWidget *target = game.find("cmdStart");
    game.machine.flash.onToggle = [&] {
        if (game.machine.flash.toggledAt.size() < 6)
            return;
        // The pause follows the last toggle; what the player does now is
        // queued, as the desktop queues it.
        game.machine.clock.duringSleep = [&] {
            QWindow *window = game.main.windowHandle();
            const QPointF at = target->mapTo(&game.main, target->rect().center());
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(window, new QMouseEvent(type, at, window->mapToGlobal(at),
                    Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
            }
            game.machine.clock.duringSleep = nullptr;
        };
    };
    game.spinAndStopOn(faces.frames[0], faces.frames[1], faces.frames[2]);
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover1")));
    QCoreApplication::processEvents();

    QCOMPARE(game.state().spinCount, 1);
    QCOMPARE(game.state().ryo, 5000);
    QVERIFY(!game.main.isVisible());
    QCOMPARE(game.machine.random.draws, 2);   // the spin and the result code
}

void TestSpinCycle::threeUnturnedBlankReelsDoNotPay()
{
    // Guards against paying a line that no reel showed in this spin: three
    // reels stopped before the first tick all hold "", which compare equal.
    GameFixture game;
    game.pressStartForSpin();
    game.stop(0);
    game.stop(1);
    game.stop(2);
    QCOMPARE(game.state().ryo, 995);
    QVERIFY(game.machine.flash.toggledAt.empty());
    QVERIFY(!game.shown("lblMsg"));
    QVERIFY(game.shown("cmdStart"));
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.state().reelSymbol[reel], QString());
}

void TestSpinCycle::lineReplayedDuringTheFlashIsNotPaidAgain()
{
    // Guards against a line paid again and again without a reel moving: Start
    // and the three Stops clicked during a winning flash run after it, before
    // the first tick of the new spin, and find the old line still standing.
    GameFixture game;
    game.state().ryo = 6;   // 1 after the fee: an unpaid spin then ends the game
    game.spinAndStopOn(faces.frames[0], faces.frames[1], faces.frames[2]);
    QCOMPARE(game.state().ryo, 501);

    game.state().ryo = 5;
    game.pressStartForSpin();
    game.stop(0);
    game.stop(1);
    game.stop(2);
    QCOMPARE(game.state().ryo, 0);
    QCOMPARE(game.machine.flash.toggledAt.size(), 6u);
    // The pictures and symbols stay as they were ...
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.state().reelSymbol[reel], u"a");
    // ... and the spin counts as one without a line.
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover2")));
}

void TestSpinCycle::stoppingOneReelLeavesTheOthersInStep()
{
    GameFixture game;
    game.pressStartForSpin();
    game.tick(3);            // frames 1, 2, 3 shown; next is 4
    game.stop(0);            // lands on frame 4
    QCOMPARE(game.state().reelSymbol[0], u"b");
    QVERIFY(!game.state().reelRunning[0]);
    QCOMPARE(game.state().tick, 4);
    game.tick(3);            // frames 4, 5, 6 on reels 2 and 3
    QCOMPARE(game.state().reelSymbol[0], u"b");
    QCOMPARE(game.state().reelSymbol[1], u"b");
    QCOMPARE(game.state().reelSymbol[2], u"b");
    QVERIFY(game.state().reelRunning[1] && game.state().reelRunning[2]);
}

void TestSpinCycle::stopOnAnIdleReelOnlyClearsItsCaption()
{
    GameFixture game;
    game.pressStartForSpin();
    game.tick(5);
    game.stop(0);
    const QString symbol = game.state().reelSymbol[0];
    game.tick(4);
    game.stop(0);   // again: the reel is no longer running
    QCOMPARE(game.state().reelSymbol[0], symbol);
    QCOMPARE(game.stopButton(0)->text(), QString());
    QVERIFY(game.state().reelRunning[1]);

    game.stop(1);
    game.stop(2);
    const int ryo = game.state().ryo;
    game.stop(1);   // while idle
    QCOMPARE(game.state().ryo, ryo);
    QCOMPARE(game.state().tick, 0);
    QVERIFY(game.shown("cmdStart"));
}

void TestSpinCycle::timerDoesNothingWithoutASpin()
{
    GameFixture game;
    game.tick(40);
    QCOMPARE(game.state().tick, 0);
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.state().reelSymbol[reel], QString());
}

void TestSpinCycle::startIsReplacedByTheBlankButtonUntilTheSpinIsJudged()
{
    GameFixture game;
    game.pressStartForSpin();
    QVERIFY(!game.shown("cmdStart"));
    QVERIFY(game.shown("cmdDamy"));
    QCOMPARE(game.caption("cmdDamy"), QString());
    QCOMPARE(game.find("cmdDamy")->geometry(), game.find("cmdStart")->geometry());

    // A second press cannot start a second spin: Start is not there.
    game.click("cmdStart");
    QCOMPARE(game.state().spinCount, 1);

    game.tick(2);
    game.stop(0);
    game.stop(1);
    QVERIFY(game.shown("cmdDamy"));
    game.stop(2);
    QVERIFY(game.shown("cmdStart"));
    QVERIFY(!game.shown("cmdDamy"));
}

void TestSpinCycle::newGameKeepsTheReelPicturesAndSymbols()
{
    GameFixture game;
    game.state().ryo = 5;
    game.spinAndStopOn(4, 2, 6);   // "b", "d", "b": no line, broke
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover2")));
    const QImage reel1 = game.find<QLabel>("picSlot1")->pixmap().toImage();

    game.main.Form_Load();
    QCOMPARE(game.state().ryo, 1000);
    QCOMPARE(game.state().spinCount, 0);
    QCOMPARE(game.state().reelSymbol[0], u"b");
    QCOMPARE(game.state().reelSymbol[1], u"d");
    QCOMPARE(game.state().reelSymbol[2], u"b");
    QCOMPARE(game.find<QLabel>("picSlot1")->pixmap().toImage(), reel1);
    QVERIFY(!reel1.isNull());
}

void TestSpinCycle::quitting_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("duringSpin");
    QTest::newRow("menu, idle") << u"menu"_qs << false;
    QTest::newRow("close box, idle") << u"close"_qs << false;
    QTest::newRow("close box, mid-spin") << u"close"_qs << true;
}

void TestSpinCycle::quitting()
{
    QFETCH(QString, how);
    QFETCH(bool, duringSpin);
    GameFixture game;
    if (duringSpin) {
        game.pressStartForSpin();
        game.tick(7);
    }
    if (how == u"menu")
        game.find<QAction>("mnuExit")->trigger();
    else
        game.main.close();
    QCOMPARE(game.machine.exit.calls, 1);
}

QTEST_MAIN(TestSpinCycle)
#include "tst_spincycle.moc"
