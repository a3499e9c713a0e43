#pragma once

#include <QString>

#include <array>
#include <cstdint>

enum class Ending {
    None,
    GoalReached,   // GameOver1
    MoneyGone,     // GameOver2
    TimeUp,        // GameOver3
};

// A line pays when all three reels show the same letter, and each of them
// showed it during this spin: a reel stopped before it moved still shows the
// last spin's symbol, which must not pay a second time.
bool isWinningLine(const std::array<QString, 3> &symbols, const std::array<bool, 3> &turnedThisSpin);

// After a spin without a line: broke first, then out of days.
Ending endingAfterMiss(std::int32_t ryo, std::int32_t spinCount, std::int32_t dayLimit);
