#include "support/ScriptedSeams.h"

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
    if (!script_.empty()) {
        const double u = script_.front();
        script_.pop_front();
        return u;
    }
    return whenEmpty ? whenEmpty() : spin;
}
