// What a player who cannot see the screen gets: the names and states of the
// controls, the news spoken without moving the focus, and the keys that play
// a whole game without the mouse.

#include "support/GameFixture.h"

#include "ui/Announcer.h"
#include "ui/Spoken.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString nameOf(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : u"(none)"_s;
}

QString descriptionOf(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Description) : u"(none)"_s;
}

enum class Play { Start, Spinning, FirstReelOnFace, Missed, Visitor, PastTheYear };

void play(GameFixture &game, Play how)
{
    switch (how) {
    case Play::Start:
        break;
    case Play::Spinning:
        game.pressStartForSpin();
        game.tick(3);
        break;
    case Play::FirstReelOnFace:
        game.pressStartForSpin();
        game.stopOn(0, 0);
        break;
    case Play::Missed:
        game.spinAndStopOn(0, 2, 2);
        break;
    case Play::Visitor:
        game.pressStartForVisitor(1);
        break;
    case Play::PastTheYear:
        game.state().spinCount = 365;
        game.spinAndStopOn(0, 0, 0);
        break;
    }
}

void sendKey(QWidget *to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QVERIFY(to != nullptr);
    GameFixture::activate(to->window());
    QTest::keyClick(to, Qt::Key(key), modifiers);
}

} // namespace

class TestScreenReader : public QObject {
    Q_OBJECT

private slots:
    void init();
    void controlsSayWhatTheyShow_data();
    void controlsSayWhatTheyShow();
    void keysStopReels_data();
    void keysStopReels();
    void focusGoesFromStartToTheReelsAndBackWithoutAFrame();
    void news_data();
    void news();
    void nothingIsSaidOnATick();
    void windowsReadThemselves_data();
    void windowsReadThemselves();
    void escapeClosesAsTheCloseButtonDoes_data();
    void escapeClosesAsTheCloseButtonDoes();
    void resultCodeCopiesWithCtrlC();

private:
    std::unique_ptr<GameFixture> game_;
    QStringList heard_;   // what the announcer said, in order
    void drain();
};


void TestScreenReader::init()
{
    game_.reset();
    game_ = std::make_unique<GameFixture>();
    auto *announcer = game_->main.findChild<Announcer *>();
    announcer->setReadingTime(0ms);
    connect(announcer, &Announcer::said, this, [this](const QString &text) { heard_ << text; });
    drain();
    heard_.clear();
}

// Lets every queued announcement take its turn.
void TestScreenReader::drain()
{
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
}

void TestScreenReader::controlsSayWhatTheyShow_data()
{
    QTest::addColumn<Play>("how");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");   // a part of it

    QTest::newRow("reel before its first spin") << Play::Start << u"picSlot1"_s << u"左のリール 絵なし"_s << u"キー 1"_s;
    QTest::newRow("reel turning") << Play::Spinning << u"picSlot2"_s << u"中のリール 回転中"_s << u"キー 2"_s;
    QTest::newRow("reel stopped") << Play::FirstReelOnFace << u"picSlot1"_s << u"左のリール 顔"_s << u"Enter"_s;
    QTest::newRow("blank Stop, reel at rest") << Play::Start << u"cmdStop3"_s << u"右のリールを止める"_s
                                              << u"キー 3。リールは止まっています"_s;
    QTest::newRow("Stop of a turning reel") << Play::Spinning << u"cmdStop3"_s << u"右のリールを止める"_s
                                            << u"キー 3。今押せます"_s;
    QTest::newRow("blank button during a spin") << Play::Spinning << u"cmdDamy"_s << u"回転中"_s << u"押せません"_s;
    QTest::newRow("blank button during a visit") << Play::Visitor << u"cmdDamy"_s << u"客が来ています"_s << u""_s;
    QTest::newRow("money after a visitor") << Play::Visitor << u"lblTensuu"_s << u"所持金 950両"_s << u""_s;
    QTest::newRow("past the year, none left") << Play::PastTheYear << u"lblCount"_s << u"366日目、残り0日"_s << u""_s;
}

void TestScreenReader::controlsSayWhatTheyShow()
{
    QFETCH(Play, how);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    play(*game_, how);
    QWidget *w = game_->main.findChild<QWidget *>(control);
    QCOMPARE(nameOf(w), name);
    QVERIFY2(descriptionOf(w).contains(description), qPrintable(descriptionOf(w)));
}

void TestScreenReader::keysStopReels_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("sentTo");   // the reel holding the focus, or the window
    QTest::addColumn<int>("reel");

    QTest::newRow("1") << int(Qt::Key_1) << int(Qt::NoModifier) << u"cmdStart"_s << 0;
    QTest::newRow("3 on the keypad") << int(Qt::Key_3) << int(Qt::KeypadModifier) << u"cmdStart"_s << 2;
    QTest::newRow("Enter on the middle reel") << int(Qt::Key_Return) << int(Qt::NoModifier) << u"picSlot2"_s << 1;
    QTest::newRow("Space on the right reel") << int(Qt::Key_Space) << int(Qt::NoModifier) << u"picSlot3"_s << 2;
}

void TestScreenReader::keysStopReels()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, sentTo);
    QFETCH(int, reel);
    game_->main.show();
    game_->pressStartForSpin();
    game_->tick(2);
    QWidget *to = game_->main.findChild<QWidget *>(sentTo);
    to->setFocus();
    sendKey(to, key, Qt::KeyboardModifiers(modifiers));
    for (int r = 0; r < 3; ++r)
        QCOMPARE(game_->state().reelRunning[r], r != reel);
}

void TestScreenReader::focusGoesFromStartToTheReelsAndBackWithoutAFrame()
{
    // A keyboard player presses 始 and then Enter three times; the game takes
    // the focus only along controls that draw no frame, and 始 comes back
    // without one until the player next presses Tab.
    frmMain &main = game_->main;
    main.show();
    GameFixture::activate(&main);
    auto *start = game_->find("cmdStart");
    const QImage unfocused = start->grab().toImage();
    sendKey(&main, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), game_->find("cmdStart"));
    QVERIFY(start->grab().toImage() != unfocused);
    game_->machine.random.queueSpin();
    sendKey(game_->find("cmdStart"), Qt::Key_Space);
    game_->tick(2);
    for (const char *reel : {"picSlot1", "picSlot2", "picSlot3"}) {
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(reel));
        sendKey(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), start);
    QCOMPARE(start->grab().toImage(), unfocused);
    // The player's next Tab lights the frames again.
    sendKey(start, Qt::Key_Tab);
    sendKey(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), start);
    QVERIFY(start->grab().toImage() != unfocused);
}

void TestScreenReader::news_data()
{
    QTest::addColumn<Play>("how");
    QTest::addColumn<QStringList>("said");

    QTest::newRow("a miss") << Play::Missed
                            << QStringList{u"1日目、残り364日。回転中。所持金 995両"_s, u"左のリール 顔"_s,
                                           u"中のリール 提灯"_s, u"右のリール 提灯"_s, u"そろいませんでした。所持金 995両"_s};
    QTest::newRow("a line past the year") << Play::PastTheYear
                                          << QStringList{u"366日目、残り0日。回転中。所持金 995両"_s, u"左のリール 顔"_s,
                                                         u"中のリール 顔"_s, u"右のリール 顔"_s,
                                                         u"顔が三つ そろいました。500両 獲得。所持金 1495両"_s};
}

void TestScreenReader::news()
{
    QFETCH(Play, how);
    QFETCH(QStringList, said);
    game_->main.show();
    play(*game_, how);
    drain();
    QCOMPARE(heard_, said);
}

void TestScreenReader::nothingIsSaidOnATick()
{
    // Every name and description in the window stays as the spin began,
    // however many frames go by.
    const auto everything = [this] {
        QStringList all;
        for (QObject *o : game_->main.findChildren<QWidget *>())
            all << nameOf(o) + u'|' + descriptionOf(o);
        return all;
    };
    game_->main.show();
    game_->pressStartForSpin();
    drain();
    heard_.clear();
    const QStringList atStart = everything();
    for (int i = 0; i < 40; ++i) {
        game_->tick();
        QCOMPARE(everything(), atStart);
    }
    drain();
    QCOMPARE(heard_, QStringList());
}

void TestScreenReader::windowsReadThemselves_data()
{
    QTest::addColumn<std::function<void(GameFixture &)>>("reach");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("parts");

    const QString focus = u"「終了」ボタンにフォーカスがあります。Enter でゲームを終了します。"_s;
    QTest::newRow("goal: words, days, the code digit by digit") << std::function([](GameFixture &g) {
        g.state().ryo = 4505;
        g.spinAndStopOn(0, 0, 0);
    }) << u"frmGover1"_s << QStringList{u"お前さんのおかげで 翠嵐塾は 作れそうだよ！"_s, u"あたなのスコアーは1日です。"_s,
                                          u"パスワード {code}"_s, u"Ctrl+C"_s, focus};
    QTest::newRow("rules") << std::function([](GameFixture &g) { g.find<QAction>("mnuReadme")->trigger(); })
                           << u"frmReadme"_s << QStringList{u"文久三年五月十六日"_s, u"Escape"_s};
    QTest::newRow("version") << std::function([](GameFixture &g) { g.find<QAction>("mnuVer")->trigger(); })
                             << u"frmVer"_s << QStringList{u"ﾊﾞｰｼﾞｮﾝ　1.1"_s, u"Escape"_s};
}

void TestScreenReader::windowsReadThemselves()
{
    QFETCH(std::function<void(GameFixture &)>, reach);
    QFETCH(QString, window);
    QFETCH(QStringList, parts);
    reach(*game_);
    QWidget *w = GameFixture::window(window);
    QVERIFY(w && w->isVisible());
    const QString description = descriptionOf(w);
    for (QString part : parts) {
        part.replace(u"{code}"_s, spoken::oneByOne(game_->state().resultCode));
        QVERIFY2(description.contains(part), qPrintable(part + u" not in "_s + description));
    }
    // An ending is also said aloud as it comes.
    if (window.startsWith(u"frmGover"_s)) {
        drain();
        QVERIFY(!heard_.isEmpty());
        QCOMPARE(heard_.last(), description);
    }
}

void TestScreenReader::escapeClosesAsTheCloseButtonDoes_data()
{
    QTest::addColumn<std::function<void(GameFixture &)>>("open");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("then");   // the window on screen afterwards

    QTest::newRow("visitor who empties the purse") << std::function([](GameFixture &g) {
        g.state().ryo = 40;
        g.pressStartForVisitor(1);
    }) << u"frmIvn01"_s << u"frmGover2"_s;
    QTest::newRow("rules") << std::function([](GameFixture &g) { g.find<QAction>("mnuReadme")->trigger(); })
                           << u"frmReadme"_s << u"frmMain"_s;
    QTest::newRow("version") << std::function([](GameFixture &g) { g.find<QAction>("mnuVer")->trigger(); })
                             << u"frmVer"_s << u"frmMain"_s;
}

void TestScreenReader::escapeClosesAsTheCloseButtonDoes()
{
    QFETCH(std::function<void(GameFixture &)>, open);
    QFETCH(QString, window);
    QFETCH(QString, then);
    game_->main.show();
    open(*game_);
    QWidget *w = GameFixture::window(window);
    QVERIFY(w && w->isVisible());
    sendKey(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(GameFixture::windowsShown(), QStringList{then});
    QCOMPARE(game_->main.isEnabled(), true);
}

void TestScreenReader::resultCodeCopiesWithCtrlC()
{
    game_->state().ryo = 4505;
    game_->spinAndStopOn(0, 0, 0);
    QWidget *goal = GameFixture::window(u"frmGover1"_s);
    QVERIFY(goal && goal->isVisible());
    QGuiApplication::clipboard()->clear();
    sendKey(goal->focusWidget(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), game_->state().resultCode);
    drain();
    QCOMPARE(heard_.last(), u"パスワードをコピーしました"_s);
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
