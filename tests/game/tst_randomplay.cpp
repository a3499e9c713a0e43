// A player who does anything at all: seeded random clicks on whatever is on
// screen, keys, close boxes, menu items and timer ticks, across many games,
// with the rules of the game checked after every single action. A failing
// seed is printed so that it can be played again on its own.

#include "support/GameFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QRegularExpression>

#include <map>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// What each visitor takes or gives, and what each line pays, as the rules of
// the game state them (not as the game's own tables do).
constexpr int visitorChange[11] = {-100, -50, -10, -30, -5, -10, 20, 10, 50, 90, 30};
int linePays(const QString &symbol)
{
    static const std::map<QString, int> pays{{u"a"_s, 500}, {u"b"_s, 300}, {u"c"_s, 100}, {u"d"_s, 100}};
    return pays.at(symbol);
}

const QStringList endingWindows{u"frmGover1"_s, u"frmGover2"_s, u"frmGover3"_s};

// The seed of each sequence comes from the row and the sequence number.
struct Player {
    explicit Player(std::uint32_t seed) : rng(seed) {}
    std::mt19937 rng;
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    template <class T>
    T pick(const QList<T> &from) { return from.at(upTo(int(from.size()))); }
};

// What a game has seen since it began: the money it must hold by now, and
// the presses of Start the player made.
struct Ledger {
    int ryo = 1000;
    int startPresses = 0;
    bool lastSpinPaid = false;
};

} // namespace

class TestRandomPlay : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u".*"_s)); }
    void randomPlayKeepsTheRules_data();
    void randomPlayKeepsTheRules();
    void thousandReplaysLeaveNothingBehind();
};

void TestRandomPlay::randomPlayKeepsTheRules_data()
{
    QTest::addColumn<int>("firstSeed");
    QTest::addColumn<int>("sequences");
    QTest::addColumn<int>("startRyo");      // where each sequence's game starts
    QTest::addColumn<int>("startDay");
    QTest::newRow("fresh games") << 1 << 250 << 1000 << 0;
    QTest::newRow("nearly broke") << 10001 << 250 << 12 << 0;
    QTest::newRow("nearly at the goal") << 20001 << 250 << 4800 << 0;
    QTest::newRow("last days of the year") << 30001 << 250 << 1000 << 363;
}

void TestRandomPlay::randomPlayKeepsTheRules()
{
    QFETCH(int, firstSeed);
    QFETCH(int, sequences);
    QFETCH(int, startRyo);
    QFETCH(int, startDay);
    constexpr int actionsPerSequence = 40;
    // What the sequences came to, so that a run that never reaches an ending
    // or a line shows as such.
    std::map<QString, int> seen;

    for (int n = 0; n < sequences; ++n) {
        const auto seed = std::uint32_t(firstSeed + n);
        Player player(seed);
        GameFixture game;
        QWidget &main = game.main;
        game.state().ryo = startRyo;
        game.state().spinCount = startDay;
        Ledger ledger{startRyo, startDay, false};

        // Every draw the game makes comes from this sequence's own dice.
        double lastDraw = 0;
        game.machine.random.onDraw = [&] {
            lastDraw = std::uniform_real_distribution<double>(0, 1)(player.rng);
            game.machine.random.queue(lastDraw);
        };

        for (int step = 0; step < actionsPerSequence && game.machine.exit.calls == 0; ++step) {
            const GameState before = game.state();
            const bool mainTookInput = main.isVisible() && main.isEnabled();
            const auto togglesBefore = game.machine.flash.toggledAt.size();
            const QList<QWidget *> windows = visibleWindows();
            const QString endingBefore = [] {
                for (const QString &name : endingWindows)
                    if (GameFixture::windowShown(name)) return name;
                return QString();
            }();
            bool startPressed = false;
            bool aimedAtMain = false;
            QString did;

            // Clicks and ticks most of the time; what ends the program
            // seldom, or no sequence would get far.
            static const QList<int> weighted{0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 3, 3, 4, 5};
            switch (player.pick(weighted)) {
            case 0: {   // a click on any visible button of any window
                QList<QAbstractButton *> buttons;
                for (QWidget *w : windows)
                    for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
                        if (b->isVisible()) buttons << b;
                if (buttons.isEmpty()) break;
                QAbstractButton *b = player.pick(buttons);
                did = u"click "_s + b->objectName();
                startPressed = b->objectName() == u"cmdStart" && mainTookInput;
                aimedAtMain = b->window() == &main;
                GameFixture::click(b);
                break;
            }
            case 2: {   // the timer
                const int ticks = 1 + player.upTo(12);
                did = u"tick x"_s + QString::number(ticks);
                game.tick(ticks);
                break;
            }
            case 3: {   // a key to whatever holds the focus in some window
                if (windows.isEmpty()) break;
                // The desktop sends keys to the active window, which gives
                // them to its focus widget.
                QWidget *w = player.pick(windows);
                GameFixture::activate(w);
                QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w;
                static const QList<Qt::Key> keys{Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape};
                const Qt::Key key = player.pick(keys);
                did = u"key "_s + QString::number(key, 16) + u" to "_s + target->objectName();
                const auto *button = qobject_cast<QPushButton *>(target);
                aimedAtMain = target->window() == &main;
                startPressed = target->objectName() == u"cmdStart" && target->isVisible() && mainTookInput
                    && (key == Qt::Key_Space || (key == Qt::Key_Return && button->autoDefault()));
                for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? u" "_s : QString());
                    QCoreApplication::sendEvent(target, &event);
                }
                break;
            }
            case 4: {   // a close box
                if (windows.isEmpty()) break;
                QWidget *w = player.pick(windows);
                if (w == &main && player.upTo(30) != 0)
                    break;
                did = u"close "_s + w->objectName();
                w->close();
                break;
            }
            case 5: {   // the menu, which only a usable slot machine offers
                static const QList<const char *> items{"mnuReadme", "mnuVer", "mnuExit"};
                const char *item = player.pick(items);
                if (item == items.last() && player.upTo(10) != 0)
                    break;
                did = u"menu "_s + QString::fromLatin1(item);
                if (mainTookInput)
                    main.findChild<QAction *>(QString::fromLatin1(item))->trigger();
                break;
            }
            }
            // Windows given up by their close box go now, as they would on
            // the way back to the event loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

            const GameState &now = game.state();
            const QString where = u"seed %1, step %2 (%3): "_s.arg(seed).arg(step).arg(did);
            const auto fail = [&](const QString &what) { return qPrintable(where + what); };
            if (game.machine.exit.calls > 0) {
                ++seen[u"program ended"_s];
                break;
            }

            // A new game begins from the starting values.
            if (!endingBefore.isEmpty() && !GameFixture::windowShown(endingBefore) && main.isVisible()) {
                ledger = Ledger{};
                ++seen[u"new games"_s];
                QVERIFY2(now.ryo == 1000 && now.spinCount == 0, fail(u"a new game does not start afresh"_s));
                continue;
            }

            // The day count follows the presses of Start, one day each.
            if (startPressed)
                ++ledger.startPresses;
            QVERIFY2(now.spinCount == ledger.startPresses, fail(u"days differ from the presses of Start"_s));
            QVERIFY2(!(before.tick != 0 && now.spinCount != before.spinCount),
                     fail(u"a second spin started while one ran"_s));
            if (aimedAtMain && !mainTookInput)
                QVERIFY2(now.spinCount == before.spinCount && now.ryo == before.ryo && now.tick == before.tick
                             && now.reelRunning == before.reelRunning,
                         fail(u"the slot machine took input while it could not"_s));
            if (!mainTookInput && !endingBefore.isEmpty())
                QVERIFY2(now.spinCount == before.spinCount && now.ryo == before.ryo,
                         fail(u"an ended game went on"_s));

            // The purse holds exactly what the fees, visitors and lines say.
            if (now.spinCount > before.spinCount) {
                const int r = int(std::floor(lastDraw * 50));
                ++seen[r <= 10 ? u"visitors"_s : u"spins"_s];
                if (r <= 10)
                    ledger.ryo += visitorChange[r];
                else
                    ledger.ryo -= 5;
            }
            const auto toggles = game.machine.flash.toggledAt.size() - togglesBefore;
            QVERIFY2(toggles == 0 || toggles == 6, fail(u"the flash was cut short"_s));
            const bool judged = before.tick != 0 && now.tick == 0 && now.spinCount == before.spinCount;
            const bool judgedLine = judged && toggles == 6;
            const bool judgedMiss = judged && toggles == 0;
            if (judged) {
                ++seen[judgedLine ? u"lines paid"_s : u"spins lost"_s];
                ledger.lastSpinPaid = judgedLine;
                if (ledger.lastSpinPaid) {
                    QVERIFY2(now.reelSymbol[0] == now.reelSymbol[1] && now.reelSymbol[1] == now.reelSymbol[2],
                             fail(u"a line was paid that the reels do not show"_s));
                    ledger.ryo += linePays(now.reelSymbol[0]);
                }
            } else {
                QVERIFY2(toggles == 0, fail(u"a flash without a judged spin"_s));
            }
            QVERIFY2(now.ryo == ledger.ryo,
                     fail(u"ryo %1, but the game's own sums give %2"_s.arg(now.ryo).arg(ledger.ryo)));

            // One window of each kind at most, and at most one ending.
            std::map<QString, int> kinds;
            int endingsShown = 0;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                QVERIFY2(++kinds[w->objectName()] == 1, fail(u"two windows "_s + w->objectName()));
                endingsShown += w->isVisible() && endingWindows.contains(w->objectName());
            }
            QVERIFY2(endingsShown <= 1, fail(u"more than one ending"_s));
            for (const QString &name : endingWindows)
                seen[name] += endingBefore.isEmpty() && GameFixture::windowShown(name);

            if (main.isVisible()) {
                QVERIFY2(game.shown("cmdStart") != game.shown("cmdDamy"),
                         fail(u"not exactly one of Start and the blank button"_s));
                QVERIFY2(endingsShown == 0, fail(u"an ending beside the slot machine"_s));
                // Play goes on only while no ending is due.
                if (main.isEnabled() && now.tick == 0)
                    QVERIFY2(now.spinCount < now.dayLimit || ledger.lastSpinPaid,
                             fail(u"the year is over, yet no ending"_s));
                if (judgedMiss)
                    QVERIFY2(now.ryo > 0 && now.spinCount < now.dayLimit, fail(u"a lost spin past a limit, yet no ending"_s));
                if (judgedLine)
                    QVERIFY2(now.ryo < now.goalRyo, fail(u"a line reached the goal, yet no ending"_s));
            } else if (judgedMiss) {
                const QString due = now.ryo <= 0 ? u"frmGover2"_s : u"frmGover3"_s;
                QVERIFY2(GameFixture::windowShown(due), fail(u"a lost spin did not end in "_s + due));
            } else if (judgedLine) {
                QVERIFY2(GameFixture::windowShown(u"frmGover1"_s), fail(u"the goal did not end the game"_s));
            } else if (endingsShown == 1 && endingBefore.isEmpty()) {
                // The ending reached is the one the money and the days call for.
                const bool won = GameFixture::windowShown(u"frmGover1"_s);
                const bool broke = GameFixture::windowShown(u"frmGover2"_s);
                QVERIFY2(!won || now.ryo >= now.goalRyo, fail(u"won below the goal"_s));
                QVERIFY2(!broke || now.ryo <= 0, fail(u"broke with money left"_s));
                QVERIFY2(won || broke || now.spinCount >= now.dayLimit, fail(u"out of days too early"_s));
            }
        }
    }
    QStringList summary;
    for (const auto &[what, count] : seen)
        summary << u"%1 %2"_s.arg(what).arg(count);
    qInfo("%s", qPrintable(summary.join(u", "_s)));
    QVERIFY(seen[u"spins"_s] > 0);
}

void TestRandomPlay::thousandReplaysLeaveNothingBehind()
{
    // Guards against every new game leaving something behind (a splash, a
    // window, a connection): the windows and objects stay as many after a
    // thousand Replays as after one, and LeakSanitizer reports nothing.
    GameFixture game;
    const auto objects = [&] {
        return QApplication::topLevelWidgets().size() + game.main.findChildren<QObject *>().size();
    };
    qsizetype afterFirst = 0;
    for (int replay = 0; replay < 1000; ++replay) {
        game.state().ryo = 5;            // gone with the fee of a lost spin
        game.pressStartForSpin();
        game.stop(0);
        game.stop(1);
        game.stop(2);
        QVERIFY(GameFixture::windowShown(u"frmGover2"_s));
        GameFixture::click(GameFixture::window(u"frmGover2"_s)->findChild<QWidget *>(u"cmdReplay"_s));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(game.main.isVisible());
        if (replay == 0)
            afterFirst = objects();
    }
    QCOMPARE(objects(), afterFirst);
}

QTEST_MAIN(TestRandomPlay)
#include "tst_randomplay.moc"
