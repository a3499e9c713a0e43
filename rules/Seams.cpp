#include "rules/Seams.h"

#include <cmath>
#include <thread>

int drawWhole(RandomSource &random, int n, int offset)
{
    return static_cast<int>(std::floor(random.draw() * n)) + offset;
}

Clock::time_point SteadyClock::now() const
{
    return std::chrono::steady_clock::now();
}

void SteadyClock::sleepFor(std::chrono::nanoseconds span)
{
    std::this_thread::sleep_for(span);
}
