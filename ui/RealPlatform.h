#pragma once

#include "ui/Platform.h"

#include <random>

class ClockSeededRandom final : public RandomSource {
public:
    double draw() override;

private:
    std::mt19937_64 generator_;
};

// Inverts the highlight of the window's taskbar entry and title bar on
// Windows; other desktops have no portable equivalent, and the main window
// paints its own highlight in any case.
class NativeTitleBarFlash final : public TitleBarFlash {
public:
    void toggle(QWidget &window) override;
};

class QtProgramExit final : public ProgramExit {
public:
    void exitNow() override;
};

// The real machine, as the program uses it.
class RealPlatform {
public:
    Platform platform() { return {clock_, random_, flash_, exit_}; }

private:
    SteadyClock clock_;
    ClockSeededRandom random_;
    NativeTitleBarFlash flash_;
    QtProgramExit exit_;
};
