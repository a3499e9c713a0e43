// Plays the game on a scripted machine through every screen worth showing and
// photographs each window, frame included, with ImageMagick's import. Run by
// tools/screenshots.sh under Xvfb and a window manager.
//
// Usage: suiran_screenshots <folder> [suffix] [shot ...]
// With shots named, only those are written.

#include "game/frmMain.h"
#include "support/ScriptedPlatform.h"
#include "rules/Seams.h"
#include "ui/Fonts.h"
#include "ui/Translations.h"
#include "ui/WindowSetup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

QWidget *topLevel(const char *name)
{
    for (QWidget *w : visibleWindows()) {
        if (w->objectName() == QLatin1String(name))
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

// Turns the reels until they show `frame`, then stops reel `reel` there.
void stopOn(frmMain &main, int reel, int frame)
{
    turnUntilShown(main, frame);
    static const char *const stops[] = {"cmdStop1", "cmdStop2", "cmdStop3"};
    click(&main, stops[reel]);
}

double visitorDraw(int r) { return (r + 0.5) / 50; }

} // namespace

int main(int argc, char *argv[])
{
    // In the language the caller's desktop asks for, as the game itself.
    const Language language = desktopLanguage();
    useUtf8Locale();
    QApplication app(argc, argv);
    useLanguage(language);
    QApplication::setApplicationName(QStringLiteral("suiranjuku"));
    installFontSubstitutions();
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: suiran_screenshots <folder> [suffix] [shot ...]\n");
        return 2;
    }
    Photographer camera(args.at(1), args.value(2), args.mid(3));

    // Pauses pass at once and draws come from a script: every run takes the
    // same pictures.
    ScriptedPlatform machine;
    ScriptedRandom &draws = machine.random;
    frmMain main(machine.platform());

    // The title is photographed while it holds the start, the first time only.
    machine.clock.duringSleep = [&] {
        machine.clock.duringSleep = nullptr;
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
        draws.queue(visitorDraw(visitor));
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
    draws.queue(0.4242);   // the result code
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
