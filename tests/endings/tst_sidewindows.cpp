// The title window's hold, and the rules and version windows from the Help menu.

#include "support/GameFixture.h"

#include "ui/Fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextDocument>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

bool mainHasFocus(const GameFixture &game)
{
    QCoreApplication::processEvents();
    return QApplication::activeWindow() == &game.main;
}

// Guards against a lookup that dereferences a side window that never came:
// the whole test program went down instead of one row failing.
template <class W = QWidget>
W *sideControl(const QString &window, const char *name)
{
    return GameFixture::control<W>(window, name);
}

enum class Closing { Button, CloseBox };

// Notes whether the slot machine already existed when the title was first
// painted.
class TitlePaintWatch : public QObject {
public:
    bool painted = false;
    bool slotMachineExisted = false;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint && watched->objectName() == u"frmSplash") {
            painted = true;
            slotMachineExisted = GameFixture::window(u"frmMain"_s) != nullptr;
        }
        return false;
    }
};

} // namespace

class TestSideWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void splashHoldsMoreThanTwoSecondsBeforeTheGame_data();
    void splashHoldsMoreThanTwoSecondsBeforeTheGame();
    void titleComesUpBeforeTheSlotMachineIsBuilt();
    void inputDuringTheHoldNeitherClosesTwiceNorHoldsAgain();
    void sideWindowDisablesTheSlotMachineUntilClosed_data();
    void sideWindowDisablesTheSlotMachineUntilClosed();
    void rulesCloseBoxMakesThemAfresh();
    void reelsSpinOnBehindASideWindow();
    void rulesText();
    void sharedTextsAreTheSameEverywhere();
};

void TestSideWindows::splashHoldsMoreThanTwoSecondsBeforeTheGame_data()
{
    QTest::addColumn<bool>("atProgramStart");
    QTest::addColumn<double>("sleepShare");
    for (bool atStart : {false, true}) {
        const char *when = atStart ? "program start" : "new game";
        QTest::addRow("%s, sleeps as long as asked", when) << atStart << 1.0;
        QTest::addRow("%s, sleeps cut short", when) << atStart << 0.3;
        QTest::addRow("%s, sleeps cut very short", when) << atStart << 0.01;
    }
}

void TestSideWindows::splashHoldsMoreThanTwoSecondsBeforeTheGame()
{
    QFETCH(bool, atProgramStart);
    QFETCH(double, sleepShare);
    ScriptedPlatform machine;
    machine.clock.sleepShare = sleepShare;
    QStringList seen;
    machine.clock.duringSleep = [&] { seen << GameFixture::windowsShown().join(u','); };

    std::unique_ptr<frmMain> main;
    if (atProgramStart) {
        main = frmMain::start(machine.platform());
    } else {
        main = std::make_unique<frmMain>(machine.platform());
        main->Form_Load();
    }
    // The hold ends as soon as more than two seconds have passed.
    QVERIFY(machine.clock.elapsed() > 2000ms);
    QVERIFY(machine.clock.elapsed() < 2002ms);
    QVERIFY(!seen.isEmpty());
    for (const QString &shown : seen)
        QCOMPARE(shown, u"frmSplash");
    QCOMPARE(GameFixture::windowsShown(), QStringList{u"frmMain"_s});
    QVERIFY(GameFixture::window(u"frmSplash"_s) == nullptr);
    QCOMPARE(main->state().ryo, 1000);
}

void TestSideWindows::titleComesUpBeforeTheSlotMachineIsBuilt()
{
    // Guards against a program start that builds the slot machine (its
    // controls, fonts and pictures) before the title is painted: the player
    // would wait for it with nothing on the screen.
    ScriptedPlatform machine;
    TitlePaintWatch watch;
    qApp->installEventFilter(&watch);
    bool builtDuringTheHold = false;
    machine.clock.duringSleep = [&] {
        builtDuringTheHold = GameFixture::window(u"frmMain"_s) != nullptr && !GameFixture::windowShown(u"frmMain"_s);
    };

    const auto main = frmMain::start(machine.platform());
    qApp->removeEventFilter(&watch);
    QVERIFY(watch.painted);
    QVERIFY(!watch.slotMachineExisted);
    QVERIFY(builtDuringTheHold);
    QCOMPARE(GameFixture::windowsShown(), QStringList{u"frmMain"_s});
}

void TestSideWindows::inputDuringTheHoldNeitherClosesTwiceNorHoldsAgain()
{
    // Guards against a title window that input reaches while it holds: a key,
    // a click on its frame or the desktop's request to close it must neither
    // take it off the screen early nor start its hold again. The input is
    // handed to the live window during the hold, as if the desktop delivered
    // it there.
    ScriptedPlatform machine;
    machine.clock.sleepShare = 0.3;   // several sleeps make up the hold
    frmMain main(machine.platform());
    QStringList seen;
    bool delivered = false;
    machine.clock.duringSleep = [&] {
        seen << GameFixture::windowsShown().join(u',');
        if (delivered)
            return;
        delivered = true;
        QWidget *splash = GameFixture::window(u"frmSplash"_s);
        QWidget *frame = sideControl(u"frmSplash"_s, "Frame1");
        QVERIFY(splash && frame && splash->windowHandle());
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, u" "_s);
            QCoreApplication::sendEvent(splash, &key);
        }
        const QPointF centre = frame->rect().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, centre, frame->mapToGlobal(centre), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(frame, &click);
        }
        QCloseEvent close;
        QCoreApplication::sendEvent(splash->windowHandle(), &close);
    };
    main.Form_Load();

    QVERIFY(delivered);
    QVERIFY(seen.size() > 1);
    for (const QString &shown : seen)
        QCOMPARE(shown, u"frmSplash");
    // One hold of a little over two seconds, and the game at its start.
    QVERIFY(machine.clock.elapsed() > 2000ms);
    QVERIFY(machine.clock.elapsed() < 2002ms);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(GameFixture::windowsShown(), QStringList{u"frmMain"_s});
    QCOMPARE(main.state().ryo, 1000);
}

void TestSideWindows::sideWindowDisablesTheSlotMachineUntilClosed_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("window");
    QTest::addColumn<Closing>("how");
    QTest::newRow("rules, 閉じる") << u"mnuReadme"_s << u"frmReadme"_s << Closing::Button;
    QTest::newRow("rules, close box") << u"mnuReadme"_s << u"frmReadme"_s << Closing::CloseBox;
    QTest::newRow("version, 閉じる") << u"mnuVer"_s << u"frmVer"_s << Closing::Button;
    // The version window has no close box, but a desktop may still close it.
    QTest::newRow("version, closed by the desktop") << u"mnuVer"_s << u"frmVer"_s << Closing::CloseBox;
}

void TestSideWindows::sideWindowDisablesTheSlotMachineUntilClosed()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, window);
    QFETCH(Closing, how);

    GameFixture game;
    for (int round = 0; round < 2; ++round) {
        game.find<QAction>(qPrintable(menuItem))->trigger();
        QCOMPARE(GameFixture::windowsShown(), (QStringList{u"frmMain"_s, window}));
        QVERIFY(!game.main.isEnabled());
        // Nothing on the slot machine answers now.
        game.click("cmdStart");
        QCOMPARE(game.state().spinCount, 0);
        QVERIFY(!game.find<QWidget>("menubar")->isEnabled());
        game.main.close();
        QCOMPARE(game.machine.exit.calls, 0);

        if (how == Closing::Button)
            GameFixture::click(sideControl(window, "cmdClose"));
        else if (QWidget *side = GameFixture::window(window))
            side->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(GameFixture::windowsShown(), QStringList{u"frmMain"_s});
        QVERIFY(game.main.isEnabled());
        QVERIFY(mainHasFocus(game));
    }
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == window;
    QVERIFY(count <= 1);
    game.pressStartForSpin();
    QCOMPARE(game.state().spinCount, 1);
}

void TestSideWindows::rulesCloseBoxMakesThemAfresh()
{
    GameFixture game;
    game.find<QAction>("mnuReadme")->trigger();
    QPointer<QWidget> first = GameFixture::window(u"frmReadme"_s);
    QVERIFY(first);
    first->move(5, 5);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    game.find<QAction>("mnuReadme")->trigger();
    QWidget *second = GameFixture::window(u"frmReadme"_s);
    QVERIFY(second != nullptr && second->isVisible());
    QVERIFY(second->pos() != QPoint(5, 5));
    GameFixture::click(sideControl(u"frmReadme"_s, "cmdClose"));
    QCOMPARE(GameFixture::window(u"frmReadme"_s), second);   // kept, only hidden

    // Opened again before the closed one is gone, the rules stay on screen.
    game.find<QAction>("mnuReadme")->trigger();
    second->close();
    game.find<QAction>("mnuReadme")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(GameFixture::windowShown(u"frmReadme"_s));
    QVERIFY(!game.main.isEnabled());
}

void TestSideWindows::reelsSpinOnBehindASideWindow()
{
    GameFixture game;
    game.pressStartForSpin();
    game.tick(2);
    game.find<QAction>("mnuVer")->trigger();
    game.tick(5);
    QCOMPARE(game.state().tick, 8);
    game.stop(0);   // ignored: the window is disabled
    QVERIFY(game.state().reelRunning[0]);
    GameFixture::click(sideControl(u"frmVer"_s, "cmdClose"));
    game.stop(0);
    game.stop(1);
    game.stop(2);
    QCOMPARE(game.state().reelRunning, (std::array<bool, 3>{}));
    QCOMPARE(game.state().reelSymbol[0], u"d");   // landed on frame 8 of reel 1
    QVERIFY(game.shown("cmdStart"));
}

void TestSideWindows::rulesText()
{
    GameFixture game;
    game.find<QAction>("mnuReadme")->trigger();
    const QStringList expected{
        u"　文久三年五月十六日、ミナセソラマはホウゲンの使者として福井にシノノメを訪問した。神戸翠嵐塾創設資金の五千両を借用するためである。"_s,
        u"　歴史では、ソラマがみごとシノノメを説得して、五千両を用意できたことになっているが、実は千両しか調達できなかったのである。"_s,
        u"　あなた（ソラマ）は、千両を元手に、創設資金五千両を作らなければなりません。"_s,
        u"　スロットマシンで一年（３６５日）以内に、五千両にしてください。"_s,
        u"　見事、五千両を手にすることができたら、ホームページにあなたの名前が登録できます。"_s,
    };
    for (int i = 0; i < expected.size(); ++i) {
        auto *label = sideControl<QLabel>(u"frmReadme"_s, qPrintable(u"Label%1"_s.arg(i + 1)));
        QVERIFY(label);
        QTextDocument shown;
        shown.setHtml(label->text());
        QCOMPARE(shown.toPlainText(), expected[i]);
        QVERIFY(label->wordWrap());
    }
    QCOMPARE(GameFixture::window(u"frmReadme"_s)->windowTitle(), u"ゲームの説明");
}

void TestSideWindows::sharedTextsAreTheSameEverywhere()
{
    GameFixture game;
    game.find<QAction>("mnuVer")->trigger();
    GameFixture::click(sideControl(u"frmVer"_s, "cmdClose"));
    game.find<QAction>("mnuReadme")->trigger();
    GameFixture::click(sideControl(u"frmReadme"_s, "cmdClose"));
    game.state().ryo = 4505;
    game.spinAndStopOn(0, 0, 0);

    const auto text = [](const QString &window, const char *name) {
        const auto *label = sideControl<QLabel>(window, name);
        return label ? label->text() : u"missing"_s;
    };
    const QString home = text(u"frmVer"_s, "lblHttp");
    QVERIFY(home.startsWith(u"http"));
    QCOMPARE(text(u"frmReadme"_s, "Label6"), home);
    QCOMPARE(text(u"frmGover1"_s, "Label9"), home);
    QVERIFY(text(u"frmVer"_s, "lblCompanyProduct").startsWith(u'｢'));
    QVERIFY(text(u"frmVer"_s, "lblCompanyProduct").endsWith(u'｣'));
    QCOMPARE(text(u"frmVer"_s, "lblVersion"), u"ﾊﾞｰｼﾞｮﾝ\u30001.1"_s);
    QCOMPARE(text(u"frmVer"_s, "lblProductName"), u"翠嵐塾を作れ");
    QCOMPARE(text(u"frmVer"_s, "lblPlatform"), u"スロットゲーム");
}

QTEST_MAIN(TestSideWindows)
#include "tst_sidewindows.moc"
