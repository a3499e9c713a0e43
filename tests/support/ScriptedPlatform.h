#pragma once

#include "game/Platform.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

// A clock that only moves when the game sleeps: a pause of two seconds takes
// no time at all in a test.
class ScriptedClock final : public Clock {
public:
    time_point now() const override { return now_; }
    void sleepFor(std::chrono::nanoseconds span) override;

    void advance(std::chrono::nanoseconds span) { now_ += span; }
    std::chrono::nanoseconds elapsed() const { return now_ - time_point{}; }

    // Called after every sleep, with the clock already moved: what a player
    // does while the game holds still.
    std::function<void()> duringSleep;
    // The share of each requested sleep that really passes (a sleep may end early).
    double sleepShare = 1.0;
    int sleeps = 0;

private:
    time_point now_{};
};

// Draws come from a script; an empty script makes every press a spin.
class ScriptedRandom final : public RandomSource {
public:
    double draw() override;

    void queue(double u) { script_.push_back(u); }
    void queueSpin() { queue(0.999); }               // r = 49
    void queueVisitor(int r) { queue((r + 0.5) / 50); }
    int draws = 0;
    std::function<void()> onDraw;

private:
    std::deque<double> script_;
};

class RecordingFlash final : public TitleBarFlash {
public:
    explicit RecordingFlash(const ScriptedClock &clock) : clock_(clock) {}
    void toggle(QWidget &window) override;

    std::vector<std::chrono::nanoseconds> toggledAt;
    std::function<void()> onToggle;

private:
    const ScriptedClock &clock_;
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
