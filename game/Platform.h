#pragma once

#include <chrono>

class QWidget;

// The game's only ways of touching the machine it runs on. The program fills
// them with the real ones (RealPlatform.h); tests fill them with scripted ones,
// so that no test waits for a pause or depends on chance.

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

// One toggle of the title-bar highlight, where the desktop has one.
class TitleBarFlash {
public:
    virtual ~TitleBarFlash() = default;
    virtual void toggle(QWidget &window) = 0;
};

// Ends the program at once: no window reacts to it any more.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void exitNow() = 0;
};

struct Platform {
    Clock &clock;
    RandomSource &random;
    TitleBarFlash &flash;
    ProgramExit &exit;
};

// floor(u * n) + offset for one fresh draw: the shape of every draw in the game.
int drawWhole(RandomSource &random, int n, int offset = 0);
