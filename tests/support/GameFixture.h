#pragma once

#include "game/frmMain.h"
#include "support/ScriptedPlatform.h"
#include "ui/WindowSetup.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// A game on the scripted platform, driven the way a player drives it: by
// clicks on what is visible, and by the ticks of Timer1.
class GameFixture {
public:
    GameFixture();

    ScriptedPlatform machine;
    frmMain main{machine.platform()};

    GameState &state() { return main.state(); }

    template <class W = QWidget>
    W *find(const char *name) const
    {
        return main.findChild<W *>(QString::fromLatin1(name));
    }
    QString text(const char *labelName) const;
    QString caption(const char *buttonName) const;
    bool shown(const char *name) const;

    // A click as the player makes it: ignored by hidden or disabled controls.
    static void click(QWidget *widget);
    void click(const char *buttonName) { click(find(buttonName)); }
    // Makes the window the active one at once, as the desktop has it before
    // it hands the window a key.
    static void activate(QWidget *window);

    void tick(int times = 1);
    void pressStartForSpin();
    void pressStartForVisitor(int r);
    void stop(int reel) { click(stopButton(reel)); }
    QPushButton *stopButton(int reel) const;

    // Ticks until reel `reel` shows symbol frame `frame`, then stops it there.
    void stopOn(int reel, int frame);
    // A whole spin landing on frames (frame1, frame2, frame3).
    void spinAndStopOn(int frame1, int frame2, int frame3);

    // The top-level window of that name, if it exists.
    static QWidget *window(const QString &objectName);
    // A control of a top-level window, or nothing when the window or the
    // control is missing: the test then fails its row, where a dereference
    // would take the whole test program down.
    template <class W = QWidget>
    static W *control(const QString &windowName, const char *name)
    {
        const QWidget *w = window(windowName);
        return w ? w->findChild<W *>(QString::fromLatin1(name)) : nullptr;
    }
    static bool windowShown(const QString &objectName);
    // The names of the windows on screen, in order.
    static QStringList windowsShown();
};
