#pragma once

#include "rules/Seams.h"

#include <chrono>
#include <functional>

// Holds the whole game for strictly more than `span` on the monotonic clock:
// the thread sleeps, nothing is handled meanwhile, and input made in the
// meantime waits in the queue until the hold is over. Since nothing repaints
// during the hold, what the windows should show is put on screen first.
// `meanwhile` runs at the start of the hold, its time counted in the span:
// work the player need not see done first (it must handle no events either).
void holdFor(Clock &clock, std::chrono::milliseconds span, const std::function<void()> &meanwhile = {});

// Paints every visible window now and hands it to the window system.
void putOnScreenNow();
