// Visitors on screen: DrawEvent, the event window and every way of closing it.

#include "support/GameFixture.h"

#include "events/frmIvn01.h"
#include "ui/Fonts.h"

#include <QScrollBar>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

QWidget *eventWindow()
{
    return GameFixture::window(u"frmIvn01"_s);
}

// Guards against a lookup that dereferences a missing event window: the
// whole test program went down instead of one row failing. Missing controls
// come back as nothing, and the helpers below say "missing".
template <class W = QWidget>
W *eventControl(const char *name)
{
    return GameFixture::control<W>(u"frmIvn01"_s, name);
}

bool eventWindowShown()
{
    return GameFixture::windowShown(u"frmIvn01"_s);
}

// The portraits that are showing, by number (-1 for a missing one).
QList<int> portraitsShown()
{
    QList<int> shown;
    for (int i = 0; i < visitorCount; ++i) {
        const QWidget *portrait = eventControl(qPrintable(u"imgIcon_%1"_s.arg(i)));
        if (portrait == nullptr || portrait->isVisible())
            shown << (portrait ? i : -1);
    }
    return shown;
}

// The closing button the player sees, by name.
QString closingButton()
{
    QStringList visible;
    for (const char *name : {"cmdNext", "cmdEnd_0", "cmdEnd_1"}) {
        const QWidget *button = eventControl(name);
        if (button == nullptr)
            return u"missing "_s + QString::fromLatin1(name);
        if (!button->isHidden())
            visible << QString::fromLatin1(name);
    }
    return visible.join(u',');
}

enum class Closing { Next, CloseBox };

void closeEvent(Closing how)
{
    if (how == Closing::Next)
        GameFixture::click(eventControl("cmdNext"));
    else if (QWidget *w = eventWindow())
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool mainHasFocus(const GameFixture &game)
{
    QCoreApplication::processEvents();
    return QApplication::activeWindow() == &game.main;
}

} // namespace

class TestVisitors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void visitorComesInsteadOfASpin_data();
    void visitorComesInsteadOfASpin();
    void endingButtonsAtTheirBoundaries_data();
    void endingButtonsAtTheirBoundaries();
    void closingGoesBackToPlay_data();
    void closingGoesBackToPlay();
    void closeBoxSkipsTheEnding_data();
    void closeBoxSkipsTheEnding();
    void closeBoxMakesTheWindowAfresh();
    void visitorRightAfterACloseBoxGetsAWindowThatStays();
    void eventOnTheLastDayEndsTheYearAtOnce_data();
    void eventOnTheLastDayEndsTheYearAtOnce();
    void mainWindowTakesNothingWhileAVisitorIsThere();
    void disabledSlotMachineKeepsItsLook_data();
    void disabledSlotMachineKeepsItsLook();
};

void TestVisitors::visitorComesInsteadOfASpin_data()
{
    QTest::addColumn<int>("r");
    for (int r = 0; r < visitorCount; ++r)
        QTest::addRow("visitor %d", r) << r;
}

void TestVisitors::visitorComesInsteadOfASpin()
{
    QFETCH(int, r);
    GameFixture game;
    game.pressStartForVisitor(r);

    const VisitorEvent &event = eventTable().at(r);
    const int change = event.kind == EventKind::Loss ? -event.amount : event.amount;
    QCOMPARE(game.state().ryo, 1000 + change);
    QCOMPARE(game.text("lblTensuu"), QString::number(1000 + change));
    QCOMPARE(game.state().spinCount, 1);
    QCOMPARE(game.text("lblCount"), u"1");
    QCOMPARE(game.state().tick, 0);
    QCOMPARE(game.state().reelRunning, (std::array<bool, 3>{}));
    for (int reel = 0; reel < 3; ++reel)
        QCOMPARE(game.stopButton(reel)->text(), QString());
    QVERIFY(!game.shown("cmdStart"));
    QVERIFY(game.shown("cmdDamy"));
    QVERIFY(!game.main.isEnabled());
    QVERIFY(game.main.isVisible());

    QVERIFY(eventWindowShown());
    auto *message = eventControl<QTextEdit>("txtMsg");
    auto *name = eventControl<QLabel>("lblName");
    QVERIFY(message && name);
    QCOMPARE(eventWindow()->windowTitle(), u"？");
    QCOMPARE(eventWindow()->palette().color(QPalette::Window),
             event.kind == EventKind::Loss ? QColor(0x99, 0x66, 0x66) : QColor(0x33, 0x66, 0x66));
    QCOMPARE(message->toPlainText(), messageOf(event).replace(u"\r\n"_s, u"\n"_s));
    QCOMPARE(name->text(), speakerOf(event));
    // The whole message shows at once: nothing to scroll, five lines and a
    // wrapped one included; it can be selected, not changed.
    QCOMPARE(message->verticalScrollBar()->maximum(), 0);
    QVERIFY(message->isReadOnly());
    QCOMPARE(message->textInteractionFlags(), Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QCOMPARE(portraitsShown(), QList<int>{r});
    QCOMPARE(closingButton(), u"cmdNext");
    // Ticks move nothing during a visit.
    game.tick(20);
    QCOMPARE(game.state().tick, 0);
}

void TestVisitors::endingButtonsAtTheirBoundaries_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<int>("r");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("ending");

    // The boundaries themselves are the rules' (tst_eventtable); here each
    // button is shown and leads where it should.
    QTest::newRow("100 and visitor 0: money gone") << 100 << 0 << u"cmdEnd_0"_s << u"frmGover2"_s;
    QTest::newRow("4950 and visitor 8: goal") << 4950 << 8 << u"cmdEnd_1"_s << u"frmGover1"_s;
    QTest::newRow("4949 and visitor 8: play on") << 4949 << 8 << u"cmdNext"_s << QString();
}

void TestVisitors::endingButtonsAtTheirBoundaries()
{
    QFETCH(int, ryo);
    QFETCH(int, r);
    QFETCH(QString, button);
    QFETCH(QString, ending);

    GameFixture game;
    game.state().ryo = ryo;
    game.pressStartForVisitor(r);
    QCOMPARE(closingButton(), button);
    QCOMPARE(game.text("lblTensuu"), QString::number(game.state().ryo));

    GameFixture::click(eventControl(qPrintable(button)));
    QVERIFY(!eventWindowShown());
    QVERIFY(portraitsShown().isEmpty());
    QVERIFY(game.main.isEnabled());
    if (ending.isEmpty()) {
        QVERIFY(game.main.isVisible());
        QVERIFY(game.shown("cmdStart"));
        QVERIFY(mainHasFocus(game));
        return;
    }
    QVERIFY(!game.main.isVisible());
    QVERIFY(GameFixture::windowShown(ending));
}

void TestVisitors::closingGoesBackToPlay_data()
{
    QTest::addColumn<Closing>("how");
    QTest::newRow("閉じる") << Closing::Next;
    QTest::newRow("close box") << Closing::CloseBox;
}

void TestVisitors::closingGoesBackToPlay()
{
    QFETCH(Closing, how);
    GameFixture game;
    game.pressStartForVisitor(5);
    closeEvent(how);

    QVERIFY(game.main.isEnabled());
    QVERIFY(mainHasFocus(game));
    QVERIFY(game.shown("cmdStart"));
    QVERIFY(!game.shown("cmdDamy"));
    QCOMPARE(game.state().ryo, 990);

    // The next visitor shows only his own portrait.
    game.pressStartForVisitor(9);
    QCOMPARE(portraitsShown(), QList<int>{9});
    QCOMPARE(game.state().ryo, 1080);
    QCOMPARE(game.state().spinCount, 2);
}

void TestVisitors::closeBoxSkipsTheEnding_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("nextButton");
    QTest::newRow("money gone, then a gain still at 0 or less") << 50 << 1 << 6 << u"cmdNext"_s;
    QTest::newRow("goal reached, then a gain still at the goal") << 4990 << 9 << 6 << u"cmdEnd_1"_s;
    QTest::newRow("goal reached, then a loss still at the goal") << 4990 << 9 << 0 << u"cmdNext"_s;
}

void TestVisitors::closeBoxSkipsTheEnding()
{
    QFETCH(int, ryo);
    QFETCH(int, r);
    QFETCH(int, next);
    QFETCH(QString, nextButton);

    GameFixture game;
    game.state().ryo = ryo;
    game.pressStartForVisitor(r);
    QVERIFY(closingButton().startsWith(u"cmdEnd"));
    closeEvent(Closing::CloseBox);

    QVERIFY(game.main.isVisible());
    QVERIFY(game.main.isEnabled());
    QVERIFY(game.shown("cmdStart"));
    for (const QString &name : {u"frmGover1"_s, u"frmGover2"_s, u"frmGover3"_s})
        QVERIFY(!GameFixture::windowShown(name));

    game.pressStartForVisitor(next);
    QCOMPARE(closingButton(), nextButton);
    QCOMPARE(portraitsShown(), QList<int>{next});
}

void TestVisitors::closeBoxMakesTheWindowAfresh()
{
    GameFixture game;
    game.pressStartForVisitor(2);
    QPointer<QWidget> first = eventWindow();
    QVERIFY(first);
    first->move(10, 10);
    closeEvent(Closing::CloseBox);
    QVERIFY(first.isNull());

    game.pressStartForVisitor(7);
    QWidget *second = eventWindow();
    QVERIFY(second != nullptr);
    QCOMPARE(portraitsShown(), QList<int>{7});
    QCOMPARE(closingButton(), u"cmdNext");
    QVERIFY(second->pos() != QPoint(10, 10));
    // Only one event window at a time.
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += w->objectName() == u"frmIvn01";
    QCOMPARE(count, 1);
}

void TestVisitors::visitorRightAfterACloseBoxGetsAWindowThatStays()
{
    // Guards against a visitor shown in the window that the close box has
    // already given up: it vanished with the visitor still on screen, and the
    // slot machine stayed disabled for good.
    GameFixture game;
    game.pressStartForVisitor(2);
    QVERIFY(eventWindow());
    eventWindow()->close();
    game.pressStartForVisitor(6);   // handled before the closed window is gone
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(eventWindowShown());
    QCOMPARE(portraitsShown(), QList<int>{6});
    GameFixture::click(eventControl("cmdNext"));
    QVERIFY(game.main.isEnabled());
}

void TestVisitors::eventOnTheLastDayEndsTheYearAtOnce_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<int>("r");
    QTest::newRow("ordinary visitor") << 1000 << 5;
    QTest::newRow("gain reaching the goal") << 4990 << 9;
    QTest::newRow("loss emptying the purse") << 50 << 0;
}

void TestVisitors::eventOnTheLastDayEndsTheYearAtOnce()
{
    QFETCH(int, ryo);
    QFETCH(int, r);

    GameFixture game;
    game.state().ryo = ryo;
    game.state().spinCount = 364;
    game.pressStartForVisitor(r);

    const VisitorEvent &event = eventTable().at(r);
    const int after = ryo + (event.kind == EventKind::Loss ? -event.amount : event.amount);
    QCOMPARE(game.state().ryo, after);
    QCOMPARE(game.text("lblTensuu"), QString::number(after));
    QVERIFY(GameFixture::windowShown(u"frmGover3"_s));
    QVERIFY(!GameFixture::windowShown(u"frmGover1"_s));
    QVERIFY(!GameFixture::windowShown(u"frmGover2"_s));
    QVERIFY(!eventWindowShown());
    QVERIFY(portraitsShown().isEmpty());
    QVERIFY(!game.main.isVisible());
    QVERIFY(game.main.isEnabled());

    // A new game takes input again, and the next visitor comes alone.
    game.main.Form_Load();
    QVERIFY(game.main.isVisible());
    QVERIFY(game.main.isEnabled());
    QVERIFY(game.shown("cmdStart"));
    QCOMPARE(closingButton(), u"cmdNext");
    game.pressStartForVisitor(10);
    QCOMPARE(portraitsShown(), QList<int>{10});
    QCOMPARE(closingButton(), u"cmdNext");
}

void TestVisitors::mainWindowTakesNothingWhileAVisitorIsThere()
{
    GameFixture game;
    game.pressStartForVisitor(4);
    const GameState before = game.state();

    QTest::mouseClick(game.find("cmdDamy"), Qt::LeftButton);
    for (int reel = 0; reel < 3; ++reel)
        QTest::mouseClick(game.stopButton(reel), Qt::LeftButton);
    QTest::keyClick(&game.main, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(&game.main, Qt::Key_X);
    QTest::keyClick(&game.main, Qt::Key_H, Qt::AltModifier);
    QTest::keyClick(&game.main, Qt::Key_R);
    game.main.close();
    QCoreApplication::processEvents();

    QCOMPARE(game.machine.exit.calls, 0);
    QCOMPARE(game.state().spinCount, before.spinCount);
    QCOMPARE(game.state().ryo, before.ryo);
    QVERIFY(!GameFixture::windowShown(u"frmReadme"_s));
    QVERIFY(!GameFixture::windowShown(u"frmVer"_s));
    QVERIFY(game.main.isVisible());
    QVERIFY(eventWindowShown());
}

void TestVisitors::disabledSlotMachineKeepsItsLook_data()
{
    QTest::addColumn<QString>("opened");
    QTest::newRow("a visitor") << u"visitor"_s;
    QTest::newRow("the rules") << u"mnuReadme"_s;
    QTest::newRow("the version") << u"mnuVer"_s;
}

void TestVisitors::disabledSlotMachineKeepsItsLook()
{
    // Guards against a slot machine that turns grey while a window it waits
    // for is open: faded reel pictures, grey reel borders, a grey "始". Only
    // the money may change, and that is the visitor's doing.
    QFETCH(QString, opened);
    GameFixture game;
    game.spinAndStopOn(0, 0, 0);   // pictures in the reels, the win message shown
    if (opened == u"visitor")
        game.pressStartForVisitor(6);
    else
        game.find<QAction>(qPrintable(opened))->trigger();
    QVERIFY(!game.main.isEnabled());
    const QImage disabled = game.main.grab().toImage();

    game.main.setEnabled(true);
    const QImage enabled = game.main.grab().toImage();
    game.main.setEnabled(false);
    QCOMPARE(disabled.size(), enabled.size());
    int changed = 0;
    for (int y = 0; y < enabled.height(); ++y) {
        for (int x = 0; x < enabled.width(); ++x)
            changed += enabled.pixel(x, y) != disabled.pixel(x, y);
    }
    QCOMPARE(changed, 0);
}

QTEST_MAIN(TestVisitors)
#include "tst_visitors.moc"
