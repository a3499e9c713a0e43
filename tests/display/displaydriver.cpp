// The game as a player meets it on a real desktop, with a log on standard
// output of what a script needs to check it from outside.
//
//   displaydriver          every spin a spin that comes to a winning line (see
//                          aimAtLine); the log tells when each hold starts and
//                          ends, which clicks and keys reached which window and
//                          when, the title-bar flashes, and the game's state
//                          whenever it changes
//   displaydriver windows  opens the game's windows one after another, saying
//                          "window <name> <X window id>" for each and going on
//                          to the next on a line "next" on standard input; the
//                          keyboard focus is logged as "focus <control>"
//   displaydriver keyboard as the first, but the reels turn a while before
//                          they are held, on the frame that the last line
//                          "aim <frame>" on standard input asked for (0, a
//                          line of faces, at first); "visitor <r>" makes the
//                          next draw visitor r, "ryo <n>" and "days <n>" set
//                          the purse and the days used; each is answered
//                          "did <line>"

#include "game/frmMain.h"
#include "rules/Reels.h"
#include "support/ScriptedPlatform.h"
#include "rules/Seams.h"
#include "ui/Fonts.h"
#include "ui/Translations.h"
#include "ui/WindowSetup.h"

#include <QApplication>
#include <QAction>
#include <QMouseEvent>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const auto started = std::chrono::steady_clock::now();

long long sinceStart()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
}

void say(const QString &line)
{
    std::printf("%lld %s\n", sinceStart(), qPrintable(line));
    std::fflush(stdout);
}

QString topLevelShown()
{
    QStringList names;
    for (const QWidget *w : visibleWindows())
        names << w->objectName() + u':' + QString::number(w->winId());
    return names.join(u' ');
}

// Clicks and keys as the windows receive them, once each.
class InputLog final : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (window != nullptr) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
                say(u"input press "_s + window->objectName() + u" at "_s
                    + QString::number(static_cast<QMouseEvent *>(event)->position().x()));
                break;
            case QEvent::MouseButtonRelease:
                say(u"input release "_s + window->objectName());
                break;
            case QEvent::MouseButtonDblClick:
                say(u"input double "_s + window->objectName());
                break;
            case QEvent::KeyPress:
                say(u"input key "_s + window->objectName());
                break;
            default:
                break;
            }
        }
        return false;
    }
};

// Where quickly clicked Stops land depends on the ticks' jitter, so a line
// would come up only now and then. Instead the reels' timer is held when
// every reel is about to land on frame `aim` (0, where all three strips carry
// "a", unless the script says otherwise) after `turns` ticks at least: the
// script's Stops then land there every time. The timer runs on once that
// spin is over (no reel runs) or a new one has begun.
struct Aim {
    int frame = 0;
    int turns = 1;
};
void aimAtLine(frmMain &main, QTimer &watch, std::shared_ptr<const Aim> aim)
{
    auto *timer1 = main.findChild<QTimer *>(u"Timer1"_s);
    auto heldSpin = std::make_shared<int>(-1);
    QObject::connect(timer1, &QTimer::timeout, &main, [&main, timer1, heldSpin, aim] {
        const GameState &s = main.state();
        const bool allRunning = s.reelRunning[0] && s.reelRunning[1] && s.reelRunning[2];
        if (allRunning && s.tick > aim->turns && reels::nextFrame(s.tick) == aim->frame) {
            timer1->stop();
            *heldSpin = s.spinCount;
            say(u"reels held"_s);
        }
    });
    QObject::connect(&watch, &QTimer::timeout, &main, [&main, timer1, heldSpin] {
        const GameState &s = main.state();
        const bool anyRunning = s.reelRunning[0] || s.reelRunning[1] || s.reelRunning[2];
        if (!timer1->isActive() && (!anyRunning || s.spinCount != *heldSpin))
            timer1->start();
    });
}

// Reads one line from the script, a byte at a time so that nothing after it
// is taken from the tour's own reads.
void awaitScriptLine()
{
    char c = 0;
    while (::read(0, &c, 1) == 1 && c != '\n') {
    }
}

// The windows in the order the script looks at them, each opened the way the
// game opens it.
void openWindowsInTurn(frmMain &main, ScriptedRandom &random)
{
    const auto click = [](const char *window, const char *button) {
        for (QWidget *w : visibleWindows()) {
            if (w->objectName() == QLatin1String(window))
                w->findChild<QPushButton *>(QLatin1String(button))->click();
        }
    };
    const auto open = [&main](const char *menuItem) { main.findChild<QAction *>(QLatin1String(menuItem))->trigger(); };
    struct Tour {
        std::vector<std::pair<const char *, std::function<void()>>> steps;
        std::size_t next = 0;
    };
    const auto tour = std::make_shared<Tour>(Tour{{
        {"frmMain", [] {}},
        {"frmIvn01", [&main, &random] { random.queueVisitor(7); main.findChild<QPushButton *>(u"cmdStart"_s)->click(); }},
        {"frmReadme", [click, open] { click("frmIvn01", "cmdNext"); open("mnuReadme"); }},
        {"frmVer", [click, open] { click("frmReadme", "cmdClose"); open("mnuVer"); }},
        {"frmGover1", [click, &main] { click("frmVer", "cmdClose"); main.GameOver1(); }},
        {"frmGover2", [&main] { main.GameOver2(); }},
        {"frmGover3", [&main] { main.GameOver3(); }},
    }});
    const auto step = [tour] {
        if (tour->next == tour->steps.size()) {
            say(u"windows done"_s);
            return;
        }
        const auto &[name, opening] = tour->steps[tour->next++];
        opening();
        for (QWidget *w : visibleWindows()) {
            if (w->objectName() == QLatin1String(name))
                say(u"window "_s + w->objectName() + u' ' + QString::number(w->winId()));
        }
    };
    auto *input = new QSocketNotifier(0, QSocketNotifier::Read, &main);
    QObject::connect(input, &QSocketNotifier::activated, &main, [step] {
        char line[64];
        if (::read(0, line, sizeof line) > 0)
            step();
    });
    QObject::connect(qApp, &QApplication::focusChanged, &main, [](QWidget *, QWidget *now) {
        if (now != nullptr)
            say(u"focus "_s + now->objectName());
    });
    QTimer::singleShot(0, &main, step);
}

} // namespace

int main(int argc, char *argv[])
{
    // In the language the caller's desktop asks for, as the game itself.
    const Language language = desktopLanguage();
    useUtf8Locale();
    QApplication app(argc, argv);
    useLanguage(language);
    installFontSubstitutions();
    // The script clicks the three Stops faster than any player could, and Qt
    // would take a press soon after another for a double click.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    InputLog inputLog;
    app.installEventFilter(&inputLog);

    // The real clock, flash and exit, each logged; every draw a spin.
    // A hold's sleep is what is left of it when the sleep begins, a little
    // under its span. The title's hold begins with the game's first look at
    // the clock.
    const bool windowsTour = QApplication::arguments().value(1) == u"windows";
    ObservedClock clock;
    clock.onFirstReading = [](Clock::time_point) { say(QStringLiteral("hold-begin")); };
    clock.beforeSleep = [windowsTour, first = true](std::chrono::nanoseconds span) mutable {
        say(QStringLiteral("hold-start %1 shown %2")
                .arg(std::chrono::round<std::chrono::milliseconds>(span).count())
                .arg(topLevelShown()));
        // On a busy machine the script's look at the title window can take
        // longer than its hold: on the tour, the hold begins only once the
        // script says it is done, so the window cannot vanish mid-check.
        if (windowsTour && std::exchange(first, false))
            awaitScriptLine();
    };
    clock.afterSleep = [](std::chrono::nanoseconds) { say(QStringLiteral("hold-end")); };
    ScriptedRandom random;
    RecordingFlash flash(clock);
    NativeTitleBarFlash realFlash;
    QtProgramExit exit;
    frmMain main(Platform{clock, random, flash, exit});
    flash.onToggle = [&main, &realFlash] {
        const auto &symbols = main.state().reelSymbol;
        say(QStringLiteral("flash ") + symbols[0] + symbols[1] + symbols[2]);
        realFlash.toggle(main);
    };
    main.Form_Load();
    if (windowsTour) {
        openWindowsInTurn(main, random);
        return QApplication::exec();
    }

    QStringList places{u"main "_s + QString::number(main.winId())};
    for (const char *name : {"cmdStart", "cmdStop1", "cmdStop2", "cmdStop3"}) {
        const auto *button = main.findChild<QWidget *>(QString::fromLatin1(name));
        const QPoint at = button->mapTo(&main, button->rect().center());
        places << QString::fromLatin1(name) << QString::number(at.x()) << QString::number(at.y());
    }
    say(places.join(u' '));

    QString last;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const GameState &s = main.state();
        const QString now = QStringLiteral("state spins %1 ryo %2 spinning %3 running %4%5%6")
                                .arg(s.spinCount).arg(s.ryo).arg(int(s.tick != 0))
                                .arg(int(s.reelRunning[0])).arg(int(s.reelRunning[1])).arg(int(s.reelRunning[2]));
        if (now != last)
            say(last = now);
    });
    auto aim = std::make_shared<Aim>();
    if (QApplication::arguments().value(1) == u"keyboard") {
        // Long enough for a screen reader's listener to see that a tick
        // sends it nothing.
        aim->turns = 32;
        auto *input = new QSocketNotifier(0, QSocketNotifier::Read, &main);
        auto pending = std::make_shared<QByteArray>();
        QObject::connect(input, &QSocketNotifier::activated, &main, [&main, &random, aim, pending] {
            char chunk[256];
            const ssize_t got = ::read(0, chunk, sizeof chunk);
            if (got > 0)
                pending->append(chunk, got);
            for (qsizetype end; (end = pending->indexOf('\n')) >= 0; pending->remove(0, end + 1)) {
                const QStringList words = QString::fromLatin1(pending->left(end)).split(u' ');
                const int n = words.value(1).toInt();
                if (words[0] == u"aim")
                    aim->frame = n;
                else if (words[0] == u"visitor")
                    random.queueVisitor(n);
                else if (words[0] == u"ryo")
                    main.state().ryo = n;
                else if (words[0] == u"days")
                    main.state().spinCount = n;
                say(u"did "_s + words.join(u' '));
            }
        });
    }
    aimAtLine(main, watch, aim);
    watch.start(10);
    return QApplication::exec();
}
