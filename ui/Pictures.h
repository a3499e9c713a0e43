#pragma once

#include <QIcon>
#include <QPixmap>

// Every picture of the game, compiled into the program. Pixmaps come at the
// given device pixel ratio (1 or 2), so that they are shown unscaled and sharp.
namespace pictures {

inline constexpr int portraitCount = 11;

// Reel r's frame f (r from 0 to 2) at 16 * r + f.
QPixmap reelFrame(int index, qreal devicePixelRatio);
QPixmap portrait(int visitor, qreal devicePixelRatio);
QPixmap logo(qreal devicePixelRatio);
QIcon windowIcon();

} // namespace pictures
