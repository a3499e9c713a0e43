#include "ui/WindowSetup.h"

#include "ui/DesktopFrame.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOption>
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

// Places the window, frame and all, in the middle of its screen.
void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The frame as the window manager will draw it, asked of it before the
    // window is mapped; where it cannot tell, the frame Qt knows (none before
    // the first showing).
    QMargins frame;
    if (QWindow *native = window.windowHandle())
        frame = desktopframe::frameExtents(*native).value_or(native->frameMargins());
    const QSize outer = window.size().grownBy(frame);
    const QRect area = screen->availableGeometry();
    const QPoint client(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
                        area.y() + (area.height() - outer.height()) / 2 + frame.top());
    // The client area's own place, so that no window manager reads it as the
    // frame's.
    window.setGeometry(QRect(client, window.size()));
}

// As a window is first shown, before the desktop maps it: a window without a
// title bar gets its bare border, and the window, frame and all, is placed in
// the middle of the screen. Later showings keep the place the player left it.
class PlaceOnFirstShow final : public QObject {
public:
    PlaceOnFirstShow(QWidget &window, TitleBar titleBar)
        : QObject(&window)
        , titleBar_(titleBar)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        auto &window = static_cast<QWidget &>(*watched);
        if (titleBar_ == TitleBar::None)
            desktopframe::borderWithoutTitle(*window.windowHandle());
        if (!placed_) {
            placed_ = true;
            centreOnScreen(window);
        }
        return false;
    }

private:
    TitleBar titleBar_;
    bool placed_ = false;
};

// The control first in the window's Tab order holds the focus when it opens.
void focusFirstInTabOrder(QWidget &window)
{
    for (QWidget *w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window) && w->isEnabled()) {
            w->setFocus();
            return;
        }
    }
}

} // namespace

void setUpWindow(QWidget &window, TitleBar titleBar)
{
    window.setWindowFlags(flagsFor(titleBar));
    window.setFixedSize(window.size());
    focusFirstInTabOrder(window);
    new PlaceOnFirstShow(window, titleBar);
}

void setUpWindow(QMainWindow &window, QSize clientArea)
{
    window.centralWidget()->setFixedSize(clientArea);
    window.adjustSize();
    setUpWindow(static_cast<QWidget &>(window), TitleBar::WithCloseBox);
}

void placeInsideBorder(QFrame &frame)
{
    const QPoint inner = frame.contentsRect().topLeft();
    for (QWidget *control : frame.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        control->move(control->pos() + inner);
}

void keepAbove(QWidget &window, QWidget &owner)
{
    // Desktops keep only dialogs above the window they belong to.
    window.setWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    window.winId();
    owner.winId();
    window.windowHandle()->setTransientParent(owner.windowHandle());
}

namespace {

const char *const dialogProperty = "suiranReadAsDialog";

QAccessibleInterface *dialogFactory(const QString &, QObject *object)
{
    if (object->isWidgetType() && object->property(dialogProperty).toBool())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
    return nullptr;
}

} // namespace

void readAsDialog(QWidget &window)
{
    static const bool installed = [] {
        QAccessible::installFactory(dialogFactory);
        return true;
    }();
    Q_UNUSED(installed);
    window.setProperty(dialogProperty, true);
    // Setting up the form may already have made the window's accessible
    // object, as a plain client area (Qt 6.8 does, when a screen reader
    // listens): drop it, so that the next one asked for is the dialog.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&window);
    if (iface && iface->role() != QAccessible::Dialog)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void giveFocus(QWidget &window)
{
    // Activation also brings the window to the front.
    window.activateWindow();
}

namespace {

const char *const unlitFocus = "suiranUnlitFocus";

// Lets the focus frame show again once the focus has left the control.
class RelightOnFocusOut final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut)
            watched->setProperty(unlitFocus, false);
        return false;
    }
};

// Draws a control of a disabled window as the enabled window draws it, as on
// the desktop the game was made for, where a disabled window only stops
// taking input. A control disabled on its own still looks disabled.
class WindowDisabledLook final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        QProxyStyle::drawPrimitive(element, looked(option, widget), painter, widget);
    }
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        QProxyStyle::drawControl(element, looked(option, widget), painter, widget);
    }
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex *>(looked(option, widget)),
                                        painter, widget);
    }
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
                      const QString &text, QPalette::ColorRole textRole) const override
    {
        // Labels call this without saying whose text it is; the palette's
        // groups are made alike below, so only the flag is left to mend.
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled || keepsLook(painter), text, textRole);
    }
    QPixmap generatedIconPixmap(QIcon::Mode mode, const QPixmap &pixmap, const QStyleOption *option) const override
    {
        // A picture is shown as it is, not faded and rendered afresh for every paint.
        if (mode == QIcon::Disabled && option != nullptr && keepsLook(qobject_cast<const QWidget *>(option->styleObject)))
            return pixmap;
        return QProxyStyle::generatedIconPixmap(mode, pixmap, option);
    }

private:
    static bool keepsLook(const QWidget *widget)
    {
        return widget != nullptr && !widget->isEnabled() && widget->isEnabledTo(widget->window());
    }
    static bool keepsLook(const QPainter *painter)
    {
        return painter != nullptr && keepsLook(dynamic_cast<const QWidget *>(painter->device()));
    }
    // The option of a control whose window is disabled, drawn as enabled and
    // active. Qt hands the style a copy it made for this paint, so it may be
    // mended where it stands.
    static const QStyleOption *looked(const QStyleOption *option, const QWidget *widget)
    {
        if (option != nullptr && keepsLook(widget)) {
            auto *mended = const_cast<QStyleOption *>(option);
            mended->state |= State_Enabled | State_Active;
            mended->palette.setCurrentColorGroup(QPalette::Active);
        }
        // A button that takes Enter also lights up as the default while it
        // holds the focus.
        if (option != nullptr && widget != nullptr && widget->property(unlitFocus).toBool()) {
            auto *mended = const_cast<QStyleOption *>(option);
            mended->state &= ~State_HasFocus;
            if (auto *button = qstyleoption_cast<QStyleOptionButton *>(mended))
                button->features &= ~QStyleOptionButton::DefaultButton;
        }
        return option;
    }
};

} // namespace

void keepLookWhenDisabled(QWidget &window)
{
    auto *look = new WindowDisabledLook;
    look->setParent(&window);
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(&window);
    for (QWidget *widget : widgets) {
        widget->setStyle(look);
        // What a control draws without the style, labels' text among it, takes
        // the colours of the enabled window.
        QPalette palette = widget->palette();
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto r = static_cast<QPalette::ColorRole>(role);
            palette.setBrush(QPalette::Disabled, r, palette.brush(QPalette::Active, r));
            palette.setBrush(QPalette::Inactive, r, palette.brush(QPalette::Active, r));
        }
        widget->setPalette(palette);
    }
}

void focusWithoutFrame(QWidget &control)
{
    // Found by its name: the filter has no meta-object of its own, and a
    // search by its type would take any child object for it.
    const QString relight = QStringLiteral("suiranRelightOnFocusOut");
    if (control.findChild<QObject *>(relight, Qt::FindDirectChildrenOnly) == nullptr) {
        auto *filter = new RelightOnFocusOut(&control);
        filter->setObjectName(relight);
        control.installEventFilter(filter);
    }
    control.setProperty(unlitFocus, true);
    control.setFocus(Qt::OtherFocusReason);
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
