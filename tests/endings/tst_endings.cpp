// The three endings: their windows, Replay and End.

#include "support/GameFixture.h"

#include "ui/Credits.h"
#include "ui/Fonts.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QWidget *endingWindow(const QString &name)
{
    return GameFixture::window(name);
}

// The label's text, or nothing while the window was never needed.
QString endingLabel(const QString &window, const char *label)
{
    const auto *l = GameFixture::control<QLabel>(window, label);
    return l ? l->text() : QString();
}

// Guards against a lookup that dereferences a window that never came: the
// whole test program went down instead of one row failing.
QPushButton *endingButton(const QString &window, const char *name)
{
    return GameFixture::control<QPushButton>(window, name);
}

enum class Way { GoalSpin, GoalVisitor, MoneyGoneSpin, MoneyGoneVisitor, YearOverSpin, YearOverVisitor };

// Plays the game into an ending the way a player would reach it.
void reach(GameFixture &game, Way way)
{
    switch (way) {
    case Way::GoalSpin:
        game.state().ryo = 4505;
        game.spinAndStopOn(0, 0, 0);
        break;
    case Way::GoalVisitor:
        game.state().ryo = 4950;
        game.pressStartForVisitor(8);
        GameFixture::click(GameFixture::control(u"frmIvn01"_s, "cmdEnd_1"));
        break;
    case Way::MoneyGoneSpin:
        game.state().ryo = 5;
        game.spinAndStopOn(0, 2, 2);
        break;
    case Way::MoneyGoneVisitor:
        game.state().ryo = 100;
        game.pressStartForVisitor(0);
        GameFixture::click(GameFixture::control(u"frmIvn01"_s, "cmdEnd_0"));
        break;
    case Way::YearOverSpin:
        game.state().spinCount = 364;
        game.spinAndStopOn(0, 2, 2);
        break;
    case Way::YearOverVisitor:
        game.state().spinCount = 364;
        game.pressStartForVisitor(3);
        break;
    }
}

} // namespace

class TestEndings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void eachEndingShowsOnlyItsWindow_data();
    void eachEndingShowsOnlyItsWindow();
    void replayResetsWhatANewGameResets_data();
    void replayResetsWhatANewGameResets();
    void endQuits_data();
    void endQuits();
    void goalWindowShowsScoreAndCode_data();
    void goalWindowShowsScoreAndCode();
    void winningTwiceRefillsTheSameWindow();
    void replayHidesTheEndingAtOnceAndHoldsTheSplash();
};

void TestEndings::eachEndingShowsOnlyItsWindow_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::newRow("goal by a spin") << Way::GoalSpin << u"frmGover1"_s << u"あがり"_s;
    QTest::newRow("goal by a visitor") << Way::GoalVisitor << u"frmGover1"_s << u"あがり"_s;
    QTest::newRow("money gone by a spin") << Way::MoneyGoneSpin << u"frmGover2"_s << u"ゲームオーバー"_s;
    QTest::newRow("money gone by a visitor") << Way::MoneyGoneVisitor << u"frmGover2"_s << u"ゲームオーバー"_s;
    QTest::newRow("year over by a spin") << Way::YearOverSpin << u"frmGover3"_s << u"ゲームオーバー"_s;
    QTest::newRow("year over by a visitor") << Way::YearOverVisitor << u"frmGover3"_s << u"ゲームオーバー"_s;
}

void TestEndings::eachEndingShowsOnlyItsWindow()
{
    QFETCH(Way, way);
    QFETCH(QString, window);
    QFETCH(QString, title);

    GameFixture game;
    reach(game, way);
    QCOMPARE(GameFixture::windowsShown(), QStringList{window});
    QWidget *ending = endingWindow(window);
    QPushButton *end = endingButton(window, "cmdEnd");
    QVERIFY(ending && end);
    QCOMPARE(ending->windowTitle(), title);
    QVERIFY(game.main.isEnabled());
    // "終了" holds the focus, so Enter presses it.
    QCOMPARE(ending->focusWidget(), end);
    QTest::keyClick(end, Qt::Key_Return);
    QCOMPARE(game.machine.exit.calls, 1);
}

void TestEndings::replayResetsWhatANewGameResets_data()
{
    eachEndingShowsOnlyItsWindow_data();
}

void TestEndings::replayResetsWhatANewGameResets()
{
    QFETCH(Way, way);
    QFETCH(QString, window);

    GameFixture game;
    reach(game, way);
    const GameState ended = game.state();
    const QString score = endingLabel(u"frmGover1"_s, "lblScore");
    QList<QImage> reels;
    for (const char *name : {"picSlot1", "picSlot2", "picSlot3"})
        reels << game.find<QLabel>(name)->pixmap().toImage();
    const auto before = game.machine.clock.elapsed();

    GameFixture::click(endingButton(window, "cmdReplay"));

    QVERIFY(game.machine.clock.elapsed() - before > 2000ms);
    QVERIFY(!GameFixture::windowShown(window));
    QVERIFY(game.main.isVisible());
    QVERIFY(game.main.isEnabled());
    // Reset ...
    QCOMPARE(game.state().tick, 0);
    QCOMPARE(game.state().ryo, 1000);
    QCOMPARE(game.state().spinCount, 0);
    QCOMPARE(game.state().goalRyo, 5000);
    QCOMPARE(game.state().dayLimit, 365);
    QCOMPARE(game.text("lblCount"), u"0");
    QCOMPARE(game.text("lblTensuu"), u"1000");
    QVERIFY(game.shown("cmdStart"));
    QVERIFY(!game.shown("cmdDamy"));
    QVERIFY(!game.shown("lblMsg"));
    QCOMPARE(game.find<QTimer>("Timer1")->interval(), 50);
    QVERIFY(game.find<QTimer>("Timer1")->isActive());
    auto *next = GameFixture::control(u"frmIvn01"_s, "cmdNext");
    auto *broke = GameFixture::control(u"frmIvn01"_s, "cmdEnd_0");
    auto *won = GameFixture::control(u"frmIvn01"_s, "cmdEnd_1");
    QVERIFY(next && broke && won);
    QVERIFY(!next->isHidden());
    QVERIFY(broke->isHidden());
    QVERIFY(won->isHidden());
    // ... and kept.
    QCOMPARE(game.state().reelSymbol, ended.reelSymbol);
    QCOMPARE(game.state().reelRunning, ended.reelRunning);
    QCOMPARE(game.state().resultCode, ended.resultCode);
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblScore"), score);
    for (int reel = 0; reel < 3; ++reel) {
        QCOMPARE(game.find<QLabel>(qPrintable(u"picSlot%1"_s.arg(reel + 1)))->pixmap().toImage(), reels[reel]);
        QCOMPARE(game.stopButton(reel)->text(), QString());
    }

    // And the new game plays.
    game.pressStartForSpin();
    QCOMPARE(game.state().ryo, 995);
}

void TestEndings::endQuits_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("goal, 終了") << Way::GoalSpin << u"frmGover1"_s << false;
    QTest::newRow("goal, close box") << Way::GoalSpin << u"frmGover1"_s << true;
    QTest::newRow("money gone, 終了") << Way::MoneyGoneSpin << u"frmGover2"_s << false;
    QTest::newRow("money gone, close box") << Way::MoneyGoneSpin << u"frmGover2"_s << true;
    QTest::newRow("year over, 終了") << Way::YearOverSpin << u"frmGover3"_s << false;
    QTest::newRow("year over, close box") << Way::YearOverSpin << u"frmGover3"_s << true;
}

void TestEndings::endQuits()
{
    // The close box guards against an ending window closed with the slot
    // machine hidden: the program would run on with no window at all.
    QFETCH(Way, way);
    QFETCH(QString, window);
    QFETCH(bool, closeBox);

    GameFixture game;
    reach(game, way);
    if (closeBox) {
        QVERIFY(endingWindow(window));
        endingWindow(window)->close();
    } else
        GameFixture::click(endingButton(window, "cmdEnd"));
    QCOMPARE(game.machine.exit.calls, 1);
    QVERIFY(!game.main.isVisible());
}

void TestEndings::goalWindowShowsScoreAndCode_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<double>("u");
    QTest::addColumn<QString>("code");
    QTest::newRow("day 7") << 7 << 0.0 << u"37990209"_s;
    QTest::newRow("day 1234") << 1234 << 0.5 << u"64662537"_s;
}

void TestEndings::goalWindowShowsScoreAndCode()
{
    QFETCH(int, days);
    QFETCH(double, u);
    QFETCH(QString, code);

    GameFixture game;
    game.state().ryo = 4505;
    game.state().spinCount = days - 1;
    game.machine.random.queueSpin();
    game.machine.random.queue(u);
    game.click("cmdStart");
    game.stopOn(0, 0);
    game.stopOn(1, 0);
    game.stopOn(2, 0);

    QCOMPARE(endingLabel(u"frmGover1"_s, "lblScore"), QString::number(days));
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblPassWord"), code);
    QCOMPARE(game.state().resultCode, code);
    QCOMPARE(endingLabel(u"frmGover1"_s, "Label9"), credits::homePage());
}

void TestEndings::winningTwiceRefillsTheSameWindow()
{
    GameFixture game;
    game.machine.random.queueSpin();
    game.machine.random.queue(0.0);   // k = 3
    game.state().ryo = 4505;
    game.click("cmdStart");
    game.stopOn(0, 0);
    game.stopOn(1, 0);
    game.stopOn(2, 0);
    QWidget *first = endingWindow(u"frmGover1"_s);
    QVERIFY(first);
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblScore"), u"1");
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblPassWord"), u"31990809"_s);

    GameFixture::click(endingButton(u"frmGover1"_s, "cmdReplay"));
    game.pressStartForVisitor(5);
    GameFixture::click(GameFixture::control(u"frmIvn01"_s, "cmdNext"));
    game.state().ryo = 4950;
    game.machine.random.queueVisitor(8);
    game.machine.random.queue(0.99);   // k = 9
    game.click("cmdStart");
    GameFixture::click(GameFixture::control(u"frmIvn01"_s, "cmdEnd_1"));

    QCOMPARE(endingWindow(u"frmGover1"_s), first);
    QVERIFY(first->isVisible());
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblScore"), u"2");
    QCOMPARE(endingLabel(u"frmGover1"_s, "lblPassWord"), u"92930709"_s);
}

void TestEndings::replayHidesTheEndingAtOnceAndHoldsTheSplash()
{
    GameFixture game;
    reach(game, Way::MoneyGoneSpin);
    QStringList seen;
    game.machine.clock.duringSleep = [&] { seen << GameFixture::windowsShown().join(u','); };
    GameFixture::click(endingButton(u"frmGover2"_s, "cmdReplay"));
    QVERIFY(!seen.isEmpty());
    for (const QString &shown : seen)
        QCOMPARE(shown, u"frmSplash");
    QVERIFY(GameFixture::window(u"frmSplash"_s) == nullptr);
}

QTEST_MAIN(TestEndings)
#include "tst_endings.moc"
