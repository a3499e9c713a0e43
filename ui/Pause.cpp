#include "ui/Pause.h"

#include "ui/WindowSetup.h"

#include <QCoreApplication>
#include <QWidget>

void putOnScreenNow()
{
    for (QWidget *window : visibleWindows())
        window->repaint();
    // Sends the windows just shown, hidden or painted to the display before
    // the thread goes to sleep. Clicks and keys already waiting stay queued:
    // taking them now would run a Stop or a second Start in the middle of a
    // pause (a full processEvents, or QGuiApplication::sync() on X11, would).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void holdFor(Clock &clock, std::chrono::milliseconds span, const std::function<void()> &meanwhile)
{
    using namespace std::chrono_literals;
    putOnScreenNow();
    const auto start = clock.now();
    if (meanwhile)
        meanwhile();
    for (auto elapsed = clock.now() - start; elapsed <= span; elapsed = clock.now() - start)
        clock.sleepFor(span - elapsed + 1us);
}
