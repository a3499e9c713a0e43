#include "ui/RealPlatform.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>


#ifdef Q_OS_WIN
#include <windows.h>
#endif

double ClockSeededRandom::draw()
{
    const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<std::uint32_t>(stamp), static_cast<std::uint32_t>(stamp >> 32)};
    generator_.seed(seed);
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator_);
}

void NativeTitleBarFlash::toggle([[maybe_unused]] QWidget &window)
{
#ifdef Q_OS_WIN
    FlashWindow(reinterpret_cast<HWND>(window.winId()), TRUE);
#endif
}

namespace {

// Once the program is ending, input and timer ticks that were already queued
// must not reach any window: they are dropped until the event loop has gone.
class DropEverything final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Timer:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

void QtProgramExit::exitNow()
{
    auto *app = QCoreApplication::instance();
    if (app == nullptr)
        return;
    app->installEventFilter(new DropEverything(app));
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
