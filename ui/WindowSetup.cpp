#include "ui/WindowSetup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

Qt::WindowFlags flagsFor(TitleBar titleBar)
{
    const Qt::WindowFlags fixedFrame = Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    switch (titleBar) {
    case TitleBar::WithCloseBox:
        return fixedFrame | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    case TitleBar::None:
        return fixedFrame;
    }
    return fixedFrame;
}

} // namespace

void setUpWindow(QWidget &window, TitleBar titleBar)
{
    window.setWindowFlags(flagsFor(titleBar));
    window.setFixedSize(window.size());
    centreOnScreen(window);
}

void setUpWindow(QMainWindow &window, QSize clientArea)
{
    window.setWindowFlags(flagsFor(TitleBar::WithCloseBox));
    window.centralWidget()->setFixedSize(clientArea);
    window.adjustSize();
    window.setFixedSize(window.size());
    centreOnScreen(window);
}

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // Before the first showing the frame is not known yet; the client area is
    // centred then, the whole frame afterwards.
    const QRect frame = window.frameGeometry();
    window.move(screen->availableGeometry().center() - frame.center() + frame.topLeft());
}

void keepAbove(QWidget &window, QWidget &owner)
{
    // Desktops keep only dialogs above the window they belong to.
    window.setWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    window.winId();
    owner.winId();
    window.windowHandle()->setTransientParent(owner.windowHandle());
}

void giveFocus(QWidget &window)
{
    // Activation also brings the window to the front.
    window.activateWindow();
}

void keepLookWhenDisabled(QWidget &window)
{
    QPalette palette = window.palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Disabled, r, palette.brush(QPalette::Active, r));
    }
    window.setPalette(palette);
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            shown << window;
    }
    return shown;
}

void DiscardableWindow::closeEvent(QCloseEvent *event)
{
    closeAsItsButtonDoes();
    emit discarded();
    event->accept();
}
