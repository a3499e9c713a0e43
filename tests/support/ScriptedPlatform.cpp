#include "support/ScriptedPlatform.h"

#include <cmath>

void ScriptedClock::sleepFor(std::chrono::nanoseconds span)
{
    ++sleeps;
    const auto passed = std::chrono::nanoseconds(static_cast<std::int64_t>(std::ceil(span.count() * sleepShare)));
    now_ += std::max(passed, std::chrono::nanoseconds(1));
    if (duringSleep)
        duringSleep();
}

double ScriptedRandom::draw()
{
    ++draws;
    if (onDraw)
        onDraw();
    if (script_.empty())
        return 0.999;
    const double u = script_.front();
    script_.pop_front();
    return u;
}

void RecordingFlash::toggle(QWidget &)
{
    toggledAt.push_back(clock_.elapsed());
    if (onToggle)
        onToggle();
}
