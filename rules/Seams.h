#pragma once

#include <chrono>

// The rules' only ways of touching the machine they run on: a clock for the
// pauses and a source of random draws. The program passes in the real ones;
// tests, benchmarks and drivers pass in scripted ones (tests/support), so
// that nothing waits for a pause or depends on chance.

// A monotonic clock the blocking pauses measure with, and the sleep that lets
// the thread rest meanwhile instead of spinning.
class Clock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual time_point now() const = 0;
    virtual void sleepFor(std::chrono::nanoseconds span) = 0;
};

// Every draw of the game reseeds from the clock and then draws u in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double draw() = 0;
};

// The real monotonic clock, sleeping the thread for the span asked.
class SteadyClock final : public Clock {
public:
    time_point now() const override;
    void sleepFor(std::chrono::nanoseconds span) override;
};

// floor(u * n) + offset for one fresh draw: the shape of every draw in the game.
int drawWhole(RandomSource &random, int n, int offset = 0);

// Called first thing in main(), before Qt's application object: makes sure
// the process runs under a UTF-8 locale. Qt reads and writes every text as
// UTF-8 and switches a locale of another character set (C, POSIX, or none at
// all, as in a container or a service) to C.UTF-8 by itself, but writes four
// lines of warning on every start when it has to. Asking for C.UTF-8's
// character handling through the environment first leaves Qt nothing to say.
void useUtf8Locale();
