#pragma once

#include <QList>
#include <QSize>
#include <QWidget>

class QFrame;
class QMainWindow;

enum class TitleBar {
    WithCloseBox,   // title, system menu and close box; nothing to minimise or maximise
    None,           // a bare border: no title bar, nothing in it
};

// Fixes a window at the client size of its form (below its menu bar, if it
// has one), gives it its frame, gives the focus to the first control of its
// Tab order, and places it, frame and all, in the middle of the screen as it
// is first shown.
void setUpWindow(QWidget &window, TitleBar titleBar);
void setUpWindow(QMainWindow &window, QSize clientArea);

// Controls inside a frame stand at places counted from the frame's inner
// top-left corner, inside its border, as the form gives them.
void placeInsideBorder(QFrame &frame);

// Keeps a window that the player must answer above the slot machine, even
// when the desktop raises the disabled slot machine on a click.
void keepAbove(QWidget &window, QWidget &owner);

// Brings a window to the front with the keyboard focus.
void giveFocus(QWidget &window);

// A screen reader treats the window as a dialog, reading its description as
// it opens: for the windows the player must answer and the endings.
void readAsDialog(QWidget &window);

// Gives a control of a window set up by keepLookWhenDisabled the focus
// without the frame that shows it, until the focus leaves it: the game's own
// focus moves draw nothing, where the player's Tab and clicks do.
void focusWithoutFrame(QWidget &control);

// A disabled window keeps its look: it only stops taking input.
void keepLookWhenDisabled(QWidget &window);

// The top-level windows on screen now.
QList<QWidget *> visibleWindows();

// A window the player may close through its frame: it is put away as its own
// closing button would put it away, then given up (discarded()). Its owner
// lets go of it at once and releases it, so the next use makes a new one.
class DiscardableWindow : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void discarded();

protected:
    // What the window's own closing button does.
    virtual void closeAsItsButtonDoes() = 0;
    void closeEvent(QCloseEvent *event) override;
};
