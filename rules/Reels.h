#pragma once

#include <QString>

// The three reel strips: 16 frames each, the even frames showing a symbol,
// the odd frames showing the strip halfway between two symbols.
namespace reels {

inline constexpr int count = 3;
inline constexpr int framesPerStrip = 16;
inline constexpr int pictureCount = count * framesPerStrip;

// The symbol letter ("a" to "d") on frame `frame` of reel `reel` (0 to 2),
// or an empty text for an in-between frame.
QString symbolAt(int reel, int frame);

// The letters of an in-between frame: the symbol entering at the top and the
// one leaving at the bottom.
struct Between {
    char entering;
    char leaving;
};
Between betweenAt(int reel, int frame);

// Index into the picture store of frame `frame` of reel `reel`.
constexpr int pictureIndex(int reel, int frame)
{
    return framesPerStrip * reel + frame;
}

// The frame that the next tick shows (and a Stop lands on when it is a
// symbol frame): tick mod 16.
constexpr int nextFrame(int tick)
{
    return tick % framesPerStrip;
}

// The frame a running reel has on screen: the one the last tick showed
// (frame 15 before the next tick's frame 0).
constexpr int shownFrame(int tick)
{
    return (nextFrame(tick) + framesPerStrip - 1) % framesPerStrip;
}

constexpr bool isSymbolFrame(int frame)
{
    return frame % 2 == 0;
}

// A spin starts at tick 1 and the first timer tick of the spin moves it on, so
// a reel stopped while tick is still 1 never showed a frame of this spin.
constexpr bool hasTurnedThisSpin(int tick)
{
    return tick > 1;
}

} // namespace reels
