// Plays the game on a scripted machine through every screen worth showing and
// photographs each window, frame included, with ImageMagick's import. Run by
// tools/screenshots.sh under Xvfb and a window manager.
//
// Usage: suiran_screenshots <folder> [suffix] [shot ...]
// With shots named, only those are written.

#include "ui/Platform.h"
#include "rules/Reels.h"
#include "game/frmMain.h"
#include "ui/Fonts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <functional>

namespace {

// Pauses pass at once: the game's own holds would only slow the pictures down.
class JumpingClock final : public Clock {
public:
    time_point now() const override { return start_ + skipped_; }
    void sleepFor(std::chrono::nanoseconds span) override
    {
        skipped_ += span;
        if (duringSleep)
            duringSleep();
    }
    std::function<void()> duringSleep;

private:
    time_point start_ = std::chrono::steady_clock::now();
    std::chrono::nanoseconds skipped_{};
};

// Draws come from a script; with none left, Start spins.
class ScriptedDraws final : public RandomSource {
public:
    double draw() override
    {
        if (script.empty())
            return 0.999;
        const double u = script.front();
        script.pop_front();
        return u;
    }
    std::deque<double> script;
};

class NoFlash final : public TitleBarFlash {
public:
    void toggle(QWidget &) override {}
};

class NoExit final : public ProgramExit {
public:
    void exitNow() override {}
};

QWidget *topLevel(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    }
    return nullptr;
}

// Lets the window manager map and frame the windows and Qt paint them.
void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 600) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(20);
    }
}

class Photographer {
public:
    Photographer(const QString &folder, const QString &suffix, const QStringList &wanted)
        : folder_(folder), suffix_(suffix), wanted_(wanted) {}

    void shoot(const char *windowName, const QString &shot)
    {
        if (!wanted_.isEmpty() && !wanted_.contains(shot))
            return;
        QWidget *window = topLevel(windowName);
        if (window == nullptr) {
            std::fprintf(stderr, "%s: window %s is not on screen\n", qPrintable(shot), windowName);
            failed = true;
            return;
        }
        settle();
        const QString file = QDir(folder_).filePath(shot + suffix_ + QStringLiteral(".png"));
        const QStringList args{QStringLiteral("-frame"), QStringLiteral("-window"),
                               QString::number(window->winId()), file};
        if (QProcess::execute(QStringLiteral("import"), args) != 0) {
            std::fprintf(stderr, "%s: import failed\n", qPrintable(shot));
            failed = true;
        }
        std::printf("%s\n", qPrintable(file));
    }

    bool failed = false;

private:
    QString folder_;
    QString suffix_;
    QStringList wanted_;
};

void click(QWidget *root, const char *name)
{
    if (auto *button = root->findChild<QPushButton *>(QLatin1String(name)))
        button->click();
}

void clickIn(const char *windowName, const char *button)
{
    if (QWidget *window = topLevel(windowName))
        click(window, button);
}

void tick(frmMain &main, int times)
{
    for (int i = 0; i < times; ++i)
        QMetaObject::invokeMethod(&main, "Timer1_Timer", Qt::DirectConnection);
}

// Turns the reels until reel `reel` shows `frame`, then stops it there.
void stopOn(frmMain &main, int reel, int frame)
{
    const auto shown = [&main] {
        return (reels::nextFrame(main.state().tick) + reels::framesPerStrip - 1) % reels::framesPerStrip;
    };
    while (shown() != frame || !reels::hasTurnedThisSpin(main.state().tick))
        tick(main, 1);
    static const char *const stops[] = {"cmdStop1", "cmdStop2", "cmdStop3"};
    click(&main, stops[reel]);
}

double visitorDraw(int r) { return (r + 0.5) / 50; }

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("suiranjuku"));
    installFontSubstitutions();
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: suiran_screenshots <folder> [suffix] [shot ...]\n");
        return 2;
    }
    Photographer camera(args.at(1), args.value(2), args.mid(3));

    JumpingClock clock;
    ScriptedDraws draws;
    NoFlash flash;
    NoExit exit;
    frmMain main({clock, draws, flash, exit});

    // The title is photographed while it holds the start, the first time only.
    clock.duringSleep = [&] {
        clock.duringSleep = nullptr;
        camera.shoot("frmSplash", QStringLiteral("splash"));
    };
    main.Form_Load();

    // The reels are moved by hand, so that every run shows the same frames.
    main.findChild<QTimer *>(QStringLiteral("Timer1"))->stop();

    // A spin with the first reel stopped on a face and the others turning.
    click(&main, "cmdStart");
    stopOn(main, 0, 0);
    tick(main, 5);
    camera.shoot("frmMain", QStringLiteral("spin"));
    stopOn(main, 1, 5);
    stopOn(main, 2, 9);

    // A visitor who takes and one who gives.
    for (const auto &[visitor, shot] : {std::pair{0, "event-loss"}, std::pair{8, "event-gain"}}) {
        draws.script.push_back(visitorDraw(visitor));
        click(&main, "cmdStart");
        camera.shoot("frmIvn01", QString::fromLatin1(shot));
        clickIn("frmIvn01", "cmdNext");
    }

    main.findChild<QAction *>(QStringLiteral("mnuReadme"))->trigger();
    camera.shoot("frmReadme", QStringLiteral("rules"));
    clickIn("frmReadme", "cmdClose");
    main.findChild<QAction *>(QStringLiteral("mnuVer"))->trigger();
    camera.shoot("frmVer", QStringLiteral("version"));
    clickIn("frmVer", "cmdClose");

    // The three endings, each followed by a new game.
    main.state().spinCount = 213;
    draws.script.push_back(0.4242);   // the result code
    main.GameOver1();
    camera.shoot("frmGover1", QStringLiteral("ending-goal"));
    clickIn("frmGover1", "cmdReplay");
    main.GameOver2();
    camera.shoot("frmGover2", QStringLiteral("ending-broke"));
    clickIn("frmGover2", "cmdReplay");
    main.GameOver3();
    camera.shoot("frmGover3", QStringLiteral("ending-year"));

    return camera.failed ? 1 : 0;
}
