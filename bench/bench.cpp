// Figures for the game against a bare Qt window (one label, one 50 ms
// timer), one figure per run of this program so that each starts afresh:
//   bench <figure> <bare|game> [launch time, ns since the epoch]
// prints "<figure> <bare|game> <value> [<value> ...]". bench/run.sh runs
// every figure under Xvfb and prints the table.

#include "game/frmMain.h"
#include "rules/Reels.h"
#include "support/ScriptedPlatform.h"
#include "ui/Fonts.h"
#include "ui/WindowSetup.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <vector>

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

double cpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

long peakKiB()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return use.ru_maxrss;
}

long residentKiB()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

double msSince(steady_clock::time_point t) { return duration<double, std::milli>(steady_clock::now() - t).count(); }

// The real clock, noting when the game first reads it and every sleep of a
// hold: how long the sleep took and how much processor time the program used
// meanwhile. The game first reads the clock when the title's hold begins, the
// title painted and handed to the display.
struct TimedClock {
    struct Hold { double wallMs; double cpuMs; };
    ObservedClock clock;
    std::optional<Clock::time_point> firstReading;
    Clock::time_point lastWake;
    std::vector<Hold> holds;

    TimedClock()
    {
        clock.onFirstReading = [this](Clock::time_point t) { firstReading = t; };
        clock.beforeSleep = [this](nanoseconds) { sleepStart = steady_clock::now(); cpu = cpuSeconds(); };
        clock.afterSleep = [this](nanoseconds) {
            lastWake = steady_clock::now();
            holds.push_back({duration<double, std::milli>(lastWake - sleepStart).count(), (cpuSeconds() - cpu) * 1000});
        };
    }

private:
    steady_clock::time_point sleepStart;
    double cpu = 0;
};

// A seeded player's dice for the draws of a whole game.
std::function<double()> seededDraws(unsigned seed)
{
    return [rng = std::mt19937(seed)]() mutable { return std::uniform_real_distribution<double>(0, 1)(rng); };
}

QPushButton *button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QString::fromLatin1(name));
}

QWidget *shownWindow(const char *name)
{
    for (QWidget *w : visibleWindows())
        if (w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

// Waits until the desktop has mapped the window, as the splash does before
// its first paint: until then a repaint draws nothing.
void waitExposed(QWidget &w)
{
    while (w.windowHandle() == nullptr || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The bare window the game is measured against.
struct BareWindow {
    QLabel label{QStringLiteral("0")};
    QTimer timer;
    int ticks = 0;
    BareWindow()
    {
        QObject::connect(&timer, &QTimer::timeout, &label, [this] { label.setText(QString::number(++ticks)); });
        timer.start(50);
        label.show();
    }
};

// The window whose timer runs while it is measured: the bare one, or the
// game's main window, loaded, on a timed clock.
struct TimedSubject {
    TimedClock timed;
    ScriptedRandom random;
    RecordingFlash flash{timed.clock};
    RecordingExit exit;
    std::unique_ptr<BareWindow> bareWindow;
    std::unique_ptr<frmMain> main;
    QTimer *timer = nullptr;

    explicit TimedSubject(bool bare)
    {
        if (bare) {
            bareWindow = std::make_unique<BareWindow>();
            timer = &bareWindow->timer;
        } else {
            main = frmMain::start(Platform{timed.clock, random, flash, exit});
            timer = main->findChild<QTimer *>(QStringLiteral("Timer1"));
        }
    }
};

void print(const char *figure, const char *subject, const QList<double> &values)
{
    std::printf("%s %s", figure, subject);
    for (double v : values)
        std::printf(" %.4f", v);
    std::printf("\n");
    std::fflush(stdout);
}

// Tick period over 200 ticks: mean, and the 99th percentile of the distance
// from 50 ms.
QList<double> periods(const std::vector<steady_clock::time_point> &at)
{
    std::vector<double> gaps, off;
    for (size_t i = 1; i < at.size(); ++i)
        gaps.push_back(duration<double, std::milli>(at[i] - at[i - 1]).count());
    double sum = 0;
    for (double g : gaps) { sum += g; off.push_back(std::abs(g - 50)); }
    std::sort(off.begin(), off.end());
    return {sum / double(gaps.size()), off[size_t(std::ceil(0.99 * double(off.size()))) - 1]};
}

// Plays one game to its end the way a player would, with random stops.
void playToTheEnd(frmMain &main, std::mt19937 &dice)
{
    for (;;) {
        if (shownWindow("frmGover1") || shownWindow("frmGover2") || shownWindow("frmGover3"))
            return;
        if (QWidget *ivn = shownWindow("frmIvn01")) {
            for (QPushButton *b : ivn->findChildren<QPushButton *>())
                if (b->isVisible()) { b->click(); break; }
            continue;
        }
        button(main, "cmdStart")->click();
        for (const char *stop : {"cmdStop1", "cmdStop2", "cmdStop3"}) {
            for (int n = 2 + int(dice() % 20); n > 0 && main.state().tick != 0; --n)
                tick(main);
            button(main, stop)->click();
        }
        QCoreApplication::processEvents();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const auto launched = argc > 3 ? std::strtoll(argv[3], nullptr, 10) : 0LL;
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 3)
        return 2;
    const QByteArray figure = argv[1];
    const bool bare = QByteArray(argv[2]) == "bare";
    const char *subject = argv[2];

    const auto sinceLaunch = [launched] {
        return double(duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() - launched) / 1e6;
    };

    if (figure == "paint") {
        // From the process start to the first picture on the screen.
        if (bare) {
            BareWindow w;
            waitExposed(w.label);
            w.label.repaint();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            print("paint", subject, {sinceLaunch()});
            return 0;
        }
        // The splash is on the screen when its hold begins: the same point as
        // the bare window's, painted and handed to the display.
        ObservedClock clock;
        clock.onFirstReading = [&](Clock::time_point) {
            if (!shownWindow("frmSplash"))
                std::_Exit(3);
            print("paint", subject, {sinceLaunch()});
            std::_Exit(0);
        };
        ScriptedRandom random;
        RecordingFlash flash(clock);
        RecordingExit exit;
        frmMain::start(Platform{clock, random, flash, exit});
        return 1;
    }

    if (figure == "idle") {
        // Processor time over 10 s of the window doing nothing, its timer running.
        TimedSubject window(bare);
        QTimer::singleShot(1000, [bare] {
            const double cpu = cpuSeconds();
            const auto start = steady_clock::now();
            QTimer::singleShot(10000, [=] {
                print("idle", bare ? "bare" : "game", {(cpuSeconds() - cpu) * 1000 / msSince(start) * 100});
                QCoreApplication::exit(0);
            });
        });
        return QApplication::exec();
    }

    if (figure == "ticks") {
        // The period of the 50 ms timer over 200 ticks, the game's during a spin.
        std::vector<steady_clock::time_point> at;
        TimedSubject window(bare);
        if (window.main)
            button(*window.main, "cmdStart")->click();
        QObject::connect(window.timer, &QTimer::timeout, [&] {
            at.push_back(steady_clock::now());
            if (at.size() == 201) {
                print("ticks", bare ? "bare" : "game", periods(at));
                QCoreApplication::exit(0);
            }
        });
        return QApplication::exec();
    }

    if (figure == "frame") {
        // One tick's change of picture on the screen, painted: three reels in
        // the game, one label's text in the bare window.
        constexpr int rounds = 2000;
        if (bare) {
            BareWindow w;
            w.timer.stop();
            waitExposed(w.label);
            const auto start = steady_clock::now();
            for (int i = 0; i < rounds; ++i) {
                w.label.setText(QString::number(i));
                w.label.repaint();
            }
            print("frame", subject, {msSince(start) / rounds});
            return 0;
        }
        ScriptedPlatform machine;
        const auto started = frmMain::start(machine.platform());
        frmMain &main = *started;
        button(main, "cmdStart")->click();
        waitExposed(main);
        const auto start = steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            tick(main);
            main.repaint();
        }
        print("frame", subject, {msSince(start) / rounds});
        return 0;
    }

    if (figure == "holds") {
        // The splash hold, from the title on screen to the end of its last
        // sleep (the slot machine is built within it), then a winning line
        // that reaches the goal: its six flash steps and the pause, each
        // timed, with the processor time used while sleeping.
        TimedClock timed;
        ScriptedRandom random;
        RecordingFlash flash(timed.clock);
        RecordingExit exit;
        const auto started = frmMain::start(Platform{timed.clock, random, flash, exit});
        frmMain &main = *started;
        const double splashWall = duration<double, std::milli>(timed.lastWake - *timed.firstReading).count();
        double splashSleepWall = 0, splashSleepCpu = 0;
        for (const auto &hold : timed.holds) { splashSleepWall += hold.wallMs; splashSleepCpu += hold.cpuMs; }
        timed.holds.clear();
        main.state().ryo = 4600;
        button(main, "cmdStart")->click();
        // Frame 0 is a face on every reel: stop all three while it shows.
        do tick(main); while (reels::nextFrame(main.state().tick) != 1 || main.state().tick < 2);
        button(main, "cmdStop1")->click();
        button(main, "cmdStop2")->click();
        const auto judged = steady_clock::now();
        button(main, "cmdStop3")->click();
        QList<double> steps;
        auto last = judged;
        for (auto t : flash.toggledAt) { steps << duration<double, std::milli>(t - last).count(); last = t; }
        double flashCpu = 0, flashWall = 0;
        for (size_t i = 0; i + 1 < timed.holds.size(); ++i) { flashCpu += timed.holds[i].cpuMs; flashWall += timed.holds[i].wallMs; }
        const auto pause = timed.holds.back();
        const bool ended = shownWindow("frmGover1") != nullptr;
        print("splash", subject, {splashWall, splashSleepCpu / splashSleepWall * 100});
        print("flash", subject, steps + QList<double>{flashCpu / flashWall * 100});
        print("pause", subject, {pause.wallMs, pause.cpuMs / pause.wallMs * 100, double(ended)});
        return 0;
    }

    if (figure == "memory") {
        // Peak memory over a whole game played to its end, then how the
        // resident size moves over a thousand Replays.
        if (bare) {
            BareWindow w;
            QTimer::singleShot(2000, [] { QCoreApplication::exit(0); });
            QApplication::exec();
            print("memory", subject, {double(peakKiB())});
            return 0;
        }
        ScriptedPlatform machine;
        machine.random.whenEmpty = seededDraws(7);
        std::mt19937 dice(11);
        const auto started = frmMain::start(machine.platform());
        frmMain &main = *started;
        playToTheEnd(main, dice);
        const double peak = double(peakKiB());
        double after10 = 0;
        for (int replay = 1; replay <= 1000; ++replay) {
            main.Form_Load();
            main.state().ryo = 5;
            button(main, "cmdStart")->click();
            for (const char *stop : {"cmdStop1", "cmdStop2", "cmdStop3"}) {
                tick(main);
                button(main, stop)->click();
            }
            QCoreApplication::processEvents();
            if (replay == 10)
                after10 = double(residentKiB());
        }
        print("memory", subject, {peak, after10, double(residentKiB())});
        return 0;
    }
    return 2;
}
