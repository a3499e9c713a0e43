#include "game/Platform.h"
#include "game/Pause.h"

#include <QApplication>
#include <QWidget>

#include <cmath>

int drawWhole(RandomSource &random, int n, int offset)
{
    return static_cast<int>(std::floor(random.draw() * n)) + offset;
}

void putOnScreenNow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            window->repaint();
    }
    // Also sends the windows just shown or hidden to the display before the
    // thread goes to sleep.
    QGuiApplication::sync();
}

void holdFor(Clock &clock, std::chrono::milliseconds span)
{
    using namespace std::chrono_literals;
    putOnScreenNow();
    const auto start = clock.now();
    for (auto elapsed = 0ns; elapsed <= span; elapsed = clock.now() - start)
        clock.sleepFor(span - elapsed + 1us);
}
