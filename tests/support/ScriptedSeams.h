#pragma once

#include "rules/Seams.h"

#include <deque>
#include <functional>

// Stand-ins for the rules' clock and draws, on Qt Core alone: the tests of the
// rules use them, and everything above (tests, benchmark, drivers) through
// ScriptedPlatform.h.

// A clock that only moves when the game sleeps: a pause of two seconds takes
// no time at all.
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

// Draws come from a script; with the script empty, from `whenEmpty`, or else
// every press of Start is a spin.
class ScriptedRandom final : public RandomSource {
public:
    double draw() override;

    void queue(double u) { script_.push_back(u); }
    void queueSpin() { queue(spin); }
    void queueVisitor(int r) { queue((r + 0.5) / 50); }

    static constexpr double spin = 0.999;   // r = 49
    std::function<double()> whenEmpty;
    // Called before each draw is taken.
    std::function<void()> onDraw;
    int draws = 0;

private:
    std::deque<double> script_;
};
