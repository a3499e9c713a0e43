#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Everything the game remembers, owned by the main window for the whole run.
// Reels are numbered 1 to 3 on screen and 0 to 2 here.
struct GameState {
    std::int32_t tick = 0;                        // 0: no spin; otherwise ticks of this spin + 1
    std::array<bool, 3> reelRunning{};            // survives a new game
    std::int32_t ryo = 0;
    std::int32_t spinCount = 0;                   // days used: one per press of Start
    std::int32_t goalRyo = 0;
    std::int32_t dayLimit = 0;
    std::array<QString, 3> reelSymbol;            // last letter each reel showed; survives a new game
    QString resultCode;                           // last code built on reaching the goal
};

// The fixed numbers of the game.
namespace rules {
inline constexpr std::int32_t startingRyo = 1000;
inline constexpr std::int32_t goalRyo = 5000;
inline constexpr std::int32_t dayLimit = 365;
inline constexpr std::int32_t spinFee = 5;
inline constexpr int tickMilliseconds = 50;
inline constexpr int drawRange = 50;              // r = floor(u * 50)
inline constexpr int lastEventDraw = 10;          // r from 0 to 10 is a visitor
} // namespace rules

// Labels show numbers as plain decimal text, with "-" when negative.
inline QString decimal(std::int32_t value)
{
    return QString::number(value);
}
