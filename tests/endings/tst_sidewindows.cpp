// The title window's hold, and the rules and version windows from the Help menu.

#include "support/GameFixture.h"

#include "ui/Fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextDocument>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QStringList windowsShown()
{
    QStringList shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            shown << w->objectName();
    }
    shown.sort();
    return shown;
}

bool mainHasFocus(const GameFixture &game)
{
    QCoreApplication::processEvents();
    return QApplication::activeWindow() == &game.main;
}

QWidget *sideControl(const QString &window, const char *name)
{
    return GameFixture::window(window)->findChild<QWidget *>(QString::fromLatin1(name));
}

enum class Closing { Button, CloseBox };

} // namespace

class TestSideWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void splashHoldsMoreThanTwoSecondsBeforeTheGame_data();
    void splashHoldsMoreThanTwoSecondsBeforeTheGame();
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
    QTest::addColumn<double>("sleepShare");
    QTest::newRow("sleeps as long as asked") << 1.0;
    QTest::newRow("sleeps cut short") << 0.3;
    QTest::newRow("sleeps cut very short") << 0.01;
}

void TestSideWindows::splashHoldsMoreThanTwoSecondsBeforeTheGame()
{
    QFETCH(double, sleepShare);
    ScriptedPlatform machine;
    machine.clock.sleepShare = sleepShare;
    frmMain main(machine.platform());
    QStringList seen;
    machine.clock.duringSleep = [&] { seen << windowsShown().join(u','); };

    main.Form_Load();
    // The hold ends as soon as more than two seconds have passed.
    QVERIFY(machine.clock.elapsed() > 2000ms);
    QVERIFY(machine.clock.elapsed() < 2002ms);
    QVERIFY(!seen.isEmpty());
    for (const QString &shown : seen)
        QCOMPARE(shown, u"frmSplash");
    QCOMPARE(windowsShown(), QStringList{u"frmMain"_s});
    QVERIFY(GameFixture::window(u"frmSplash"_s) == nullptr);
}

void TestSideWindows::inputDuringTheHoldNeitherClosesTwiceNorHoldsAgain()
{
    ScriptedPlatform machine;
    frmMain main(machine.platform());
    machine.clock.duringSleep = [&] {
        // What the player does while the title holds arrives afterwards.
        QWidget *splash = GameFixture::window(u"frmSplash"_s);
        QWidget *frame = splash->findChild<QWidget *>(u"Frame1"_s);
        QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
        QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier));
        const QPointF centre = frame->rect().center();
        QCoreApplication::postEvent(frame, new QMouseEvent(QEvent::MouseButtonPress, centre, frame->mapToGlobal(centre),
                                                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(frame, new QMouseEvent(QEvent::MouseButtonRelease, centre, frame->mapToGlobal(centre),
                                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QCoreApplication::postEvent(splash, new QCloseEvent);
    };
    main.Form_Load();
    const int sleeps = machine.clock.sleeps;
    const auto held = machine.clock.elapsed();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(machine.clock.sleeps, sleeps);
    QCOMPARE(machine.clock.elapsed(), held);
    QCOMPARE(windowsShown(), QStringList{u"frmMain"_s});
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
        QCOMPARE(windowsShown(), (QStringList{u"frmMain"_s, window}));
        QVERIFY(!game.main.isEnabled());
        // Nothing on the slot machine answers now.
        game.click("cmdStart");
        QCOMPARE(game.state().spinCount, 0);
        QVERIFY(!game.find<QWidget>("menubar")->isEnabled());
        game.main.close();
        QCOMPARE(game.machine.exit.calls, 0);

        if (how == Closing::Button)
            GameFixture::click(sideControl(window, "cmdClose"));
        else
            GameFixture::window(window)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(windowsShown(), QStringList{u"frmMain"_s});
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
        auto *label = static_cast<QLabel *>(sideControl(u"frmReadme"_s, qPrintable(u"Label%1"_s.arg(i + 1))));
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
        return static_cast<QLabel *>(sideControl(window, name))->text();
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
