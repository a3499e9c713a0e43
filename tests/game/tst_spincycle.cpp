// A day at the slot machine on screen: Start, the three Stops, the flash and
// the payout as the main window shows them, driven by clicks and timer ticks.
// The rules themselves are tested without a window (tests/rules).

#include "support/GameFixture.h"

#include "rules/Reels.h"
#include "ui/Fonts.h"
#include "ui/Pictures.h"

#include <QMouseEvent>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
// Frames of each reel that show the same symbol on all three strips.
constexpr int faces[3] = {0, 0, 0};
constexpr int noLine[3] = {0, 2, 2};   // "a", "d", "d"

QImage shown(const GameFixture &game, int reel)
{
    return game.find<QLabel>(qPrintable(u"picSlot%1"_s.arg(reel + 1)))->pixmap().toImage();
}

QImage picture(const GameFixture &game, int reel, int frame)
{
    const qreal dpr = game.find<QLabel>("picSlot1")->devicePixelRatioF();
    return pictures::reelFrame(reels::pictureIndex(reel, frame), dpr).toImage();
}
} // namespace

class TestSpinCycle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void startsAtTheStartingValues();
    void startCountsTheDayBeforeTheDraw();
    void spinTakesTheFeeEvenBelowZero();
    void startIsReplacedByTheBlankButtonUntilTheSpinIsJudged();
    void lineShowsItsMessageAndTheNewTotal();
    void flashTogglesSixTimesMoreThan200msApartBeforeThePayout();
    void lastStopKeepsItsCaptionThroughFlashAndPause();
    void goalSpinShowsTheOldTotalUntilTheEnding();
    void inputDuringTheGoalPauseDoesNotReachTheHiddenMachine();
    void reelShowsThePictureOfTheFrameItStandsOn_data();
    void reelShowsThePictureOfTheFrameItStandsOn();
    void firstTickShowsFrameOneWhateverWasShownBefore();
    void stopBeforeTheFirstTickKeepsThePicture();
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

    // The middle reel holds the focus, which it does not show, and Space
    // there presses nothing (it used to press a blank Stop button).
    GameFixture::activate(&game.main);
    QCOMPARE(game.main.focusWidget(), game.find("picSlot2"));
    QTest::keyClick(game.main.focusWidget(), Qt::Key_Space);
    QCOMPARE(game.state().spinCount, 0);
    QCOMPARE(game.stopButton(0)->text(), QString());
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
    QCOMPARE(GameFixture::windowsShown(), QStringList{u"frmGover2"_s});
}

void TestSpinCycle::lineShowsItsMessageAndTheNewTotal()
{
    GameFixture game;
    game.spinAndStopOn(faces[0], faces[1], faces[2]);
    QCOMPARE(game.text("lblMsg"), u"５００両 獲得！");
    QVERIFY(game.shown("lblMsg"));
    QCOMPARE(game.text("lblTensuu"), u"1495");
    QVERIFY(game.shown("cmdStart"));

    // The next press hides the message again.
    game.pressStartForSpin();
    QVERIFY(!game.shown("lblMsg"));
}

void TestSpinCycle::flashTogglesSixTimesMoreThan200msApartBeforeThePayout()
{
    GameFixture game;
    std::vector<int> ryoAtToggle;
    game.machine.flash.onToggle = [&] { ryoAtToggle.push_back(game.state().ryo); };
    const auto start = game.machine.clock.now();
    game.spinAndStopOn(faces[0], faces[1], faces[2]);

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
    game.spinAndStopOn(faces[0], faces[1], faces[2]);

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
    game.spinAndStopOn(faces[0], faces[1], faces[2]);
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover1")));
    QCoreApplication::processEvents();

    QCOMPARE(game.state().spinCount, 1);
    QCOMPARE(game.state().ryo, 5000);
    QVERIFY(!game.main.isVisible());
    QCOMPARE(game.machine.random.draws, 2);   // the spin and the result code
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
    QCOMPARE(game.stopButton(0)->text(), QString());
    game.stop(0);   // again: its reel stands, and the caption stays empty
    QCOMPARE(game.stopButton(0)->text(), QString());
    game.stop(1);
    QVERIFY(game.shown("cmdDamy"));
    game.stop(2);
    QVERIFY(game.shown("cmdStart"));
    QVERIFY(!game.shown("cmdDamy"));
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.stopButton(reel)->text(), QString());
}

void TestSpinCycle::reelShowsThePictureOfTheFrameItStandsOn_data()
{
    QTest::addColumn<int>("reel");
    QTest::addColumn<int>("ticks");       // timer ticks before the Stop
    QTest::addColumn<int>("restFrame");
    for (int reel = 0; reel < 3; ++reel) {
        QTest::addRow("reel %d, between frames 3 and 4", reel + 1) << reel << 3 << 4;
        QTest::addRow("reel %d, on frame 4", reel + 1) << reel << 4 << 4;
        QTest::addRow("reel %d, wrapped from frame 15", reel + 1) << reel << 15 << 0;
    }
}

void TestSpinCycle::reelShowsThePictureOfTheFrameItStandsOn()
{
    QFETCH(int, reel);
    QFETCH(int, ticks);
    QFETCH(int, restFrame);

    GameFixture game;
    game.pressStartForSpin();
    game.tick(ticks);
    game.stop(reel);
    QCOMPARE(shown(game, reel), picture(game, reel, restFrame));
    // The reels still running show the next frame with the next tick.
    game.tick();
    for (int other = 0; other < 3; ++other) {
        if (other != reel)
            QCOMPARE(shown(game, other), picture(game, other, (ticks + 1) % 16));
    }
    QCOMPARE(shown(game, reel), picture(game, reel, restFrame));
}

void TestSpinCycle::firstTickShowsFrameOneWhateverWasShownBefore()
{
    GameFixture game;
    game.spinAndStopOn(8, 8, 8);
    game.pressStartForSpin();
    game.tick();
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(shown(game, reel), picture(game, reel, 1));
}

void TestSpinCycle::stopBeforeTheFirstTickKeepsThePicture()
{
    GameFixture game;
    game.spinAndStopOn(4, 4, 4);
    const QImage before = shown(game, 1);
    game.pressStartForSpin();
    game.stop(1);
    QCOMPARE(shown(game, 1), before);
}

void TestSpinCycle::newGameKeepsTheReelPicturesAndSymbols()
{
    GameFixture game;
    game.state().ryo = 5;
    game.spinAndStopOn(4, 2, 6);   // "b", "d", "b": no line, broke
    QVERIFY(GameFixture::windowShown(QStringLiteral("frmGover2")));
    const QImage reel1 = shown(game, 0);

    game.main.Form_Load();
    QCOMPARE(game.state().ryo, 1000);
    QCOMPARE(game.state().spinCount, 0);
    QCOMPARE(game.state().reelSymbol[0], u"b");
    QCOMPARE(game.state().reelSymbol[1], u"d");
    QCOMPARE(game.state().reelSymbol[2], u"b");
    QCOMPARE(shown(game, 0), reel1);
    QVERIFY(!reel1.isNull());
}

void TestSpinCycle::quitting_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("duringSpin");
    QTest::newRow("menu, idle") << u"menu"_s << false;
    QTest::newRow("close box, idle") << u"close"_s << false;
    QTest::newRow("close box, mid-spin") << u"close"_s << true;
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
