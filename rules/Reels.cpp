#include "rules/Reels.h"

#include <array>

namespace reels {
namespace {

// The symbols of frames 0, 2, 4, ..., 14 of each strip.
constexpr std::array<std::array<char, framesPerStrip / 2>, count> strips{{
    {'a', 'c', 'b', 'a', 'd', 'c', 'a', 'd'},
    {'a', 'd', 'c', 'b', 'a', 'd', 'c', 'b'},
    {'a', 'd', 'c', 'b', 'd', 'c', 'b', 'd'},
}};

char letterOf(int reel, int symbolFrame)
{
    return strips.at(reel).at((symbolFrame % framesPerStrip) / 2);
}

} // namespace

QString symbolAt(int reel, int frame)
{
    return isSymbolFrame(frame) ? QString(QChar::fromLatin1(letterOf(reel, frame))) : QString();
}

Between betweenAt(int reel, int frame)
{
    // Frame 2j + 1 lies between frame 2j, sliding out at the bottom, and
    // frame 2j + 2 (frame 0 after the last), entering from the top.
    return {letterOf(reel, frame + 1), letterOf(reel, frame - 1)};
}

} // namespace reels
