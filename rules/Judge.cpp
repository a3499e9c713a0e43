#include "rules/Judge.h"

#include <algorithm>

bool isWinningLine(const std::array<QString, 3> &symbols, const std::array<bool, 3> &turnedThisSpin)
{
    const bool allTurned = std::all_of(turnedThisSpin.begin(), turnedThisSpin.end(), [](bool t) { return t; });
    return allTurned && symbols[0] == symbols[1] && symbols[1] == symbols[2];
}

Ending endingAfterMiss(std::int32_t ryo, std::int32_t spinCount, std::int32_t dayLimit)
{
    if (ryo <= 0)
        return Ending::MoneyGone;
    if (spinCount >= dayLimit)
        return Ending::TimeUp;
    return Ending::None;
}
