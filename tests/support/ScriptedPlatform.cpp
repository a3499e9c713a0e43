#include "support/ScriptedPlatform.h"

#include "game/frmMain.h"
#include "rules/Reels.h"

Clock::time_point ObservedClock::now() const
{
    const time_point t = real_.now();
    if (!read_) {
        read_ = true;
        if (onFirstReading)
            onFirstReading(t);
    }
    return t;
}

void ObservedClock::sleepFor(std::chrono::nanoseconds span)
{
    if (beforeSleep)
        beforeSleep(span);
    real_.sleepFor(span);
    if (afterSleep)
        afterSleep(span);
}

void RecordingFlash::toggle(QWidget &)
{
    toggledAt.push_back(clock_.now());
    if (onToggle)
        onToggle();
}

void tick(frmMain &main, int times)
{
    for (int i = 0; i < times; ++i)
        QMetaObject::invokeMethod(&main, "Timer1_Timer", Qt::DirectConnection);
}

void turnUntilShown(frmMain &main, int frame)
{
    const auto turning = [&main] { return main.state().tick != 0; };
    while (turning() && (reels::shownFrame(main.state().tick) != frame || !reels::hasTurnedThisSpin(main.state().tick)))
        tick(main);
}
