#pragma once

#include "rules/Seams.h"

class QWidget;

// What the windows need of the machine besides the rules' clock and draws.
// The program fills them with the real ones (RealPlatform.h); tests,
// benchmarks and drivers with the stand-ins of tests/support.

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
