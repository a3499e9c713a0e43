#pragma once

#include "support/ScriptedSeams.h"
#include "ui/Platform.h"
#include "ui/RealPlatform.h"

#include <vector>

class frmMain;

// The desktop's stand-ins, and the few ways of driving the slot machine that
// the tests, the benchmark and the drivers share.

// The real monotonic clock, telling when the game first reads it and before
// and after each sleep: for the drivers and benchmarks that time or log the
// game's holds.
class ObservedClock final : public Clock {
public:
    time_point now() const override;
    void sleepFor(std::chrono::nanoseconds span) override;

    std::function<void(time_point)> onFirstReading;
    std::function<void(std::chrono::nanoseconds)> beforeSleep;
    std::function<void(std::chrono::nanoseconds)> afterSleep;

private:
    SteadyClock real_;
    mutable bool read_ = false;
};

// Notes when each toggle came, on the given clock.
class RecordingFlash final : public TitleBarFlash {
public:
    explicit RecordingFlash(const Clock &clock) : clock_(clock) {}
    void toggle(QWidget &window) override;

    std::vector<Clock::time_point> toggledAt;
    std::function<void()> onToggle;

private:
    const Clock &clock_;
};

class RecordingExit final : public ProgramExit {
public:
    void exitNow() override { ++calls; }
    int calls = 0;
};

struct ScriptedPlatform {
    ScriptedClock clock;
    ScriptedRandom random;
    RecordingFlash flash{clock};
    RecordingExit exit;

    Platform platform() { return {clock, random, flash, exit}; }
};

// Timer1's ticks, given by hand.
void tick(frmMain &main, int times = 1);
// Ticks until the running reels show frame `frame`, a frame of this spin
// (nothing turns while no spin runs).
void turnUntilShown(frmMain &main, int frame);
