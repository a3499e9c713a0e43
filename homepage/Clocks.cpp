#include "homepage/Clocks.h"

#include <QDateTime>

#include <thread>

qint64 SystemWallClock::msecsSinceEpoch() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

Clock::time_point SteadyClock::now() const
{
    return std::chrono::steady_clock::now();
}

void SteadyClock::sleepFor(std::chrono::nanoseconds span)
{
    std::this_thread::sleep_for(span);
}
