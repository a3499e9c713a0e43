#pragma once

#include "rules/EventTable.h"
#include "rules/GameState.h"
#include "rules/Judge.h"
#include "rules/PayTable.h"
#include "rules/Reels.h"

#include <array>
#include <optional>

class RandomSource;

// What a press of Start turned into.
struct Day {
    bool visitor;   // a visitor comes instead of a spin
    int r;          // the draw, 0 to 49: the visitor's number when 10 or less
};

// What a Stop did to its reel.
struct ReelStop {
    bool wasRunning = false;        // otherwise nothing happened
    std::optional<int> landedOn;    // the symbol frame it moved on to from between two
};

// One game at the slot machine: its state and the flow of a day, from the
// press of Start to the judging of the spin or the visitor's change. It knows
// nothing of windows, timers or pauses: the main window asks it for each rule
// and shows what it reports, so that the flash can come between the judging
// and the payout.
class SlotGame {
public:
    explicit SlotGame(RandomSource &random);

    GameState &state() { return state_; }
    const GameState &state() const { return state_; }

    // The starting values of a new game; the reels and the last result code
    // stay as they were.
    void reset();

    // A press of Start: first one more day ...
    void countDay();
    // ... then the draw: a visitor, or a spin that takes its fee (even below
    // zero) and sets the three reels running.
    Day drawDay();

    // A tick of the reels' timer: the frame that every running reel shows
    // now, or nothing while no spin runs.
    std::optional<int> advanceReels();

    // A Stop on reel 0, 1 or 2.
    ReelStop stop(int reel);
    // Once no reel runs the spin is over and ticks move nothing: true then,
    // false while a reel still runs.
    bool endSpinIfAllStopped();

    // The judging of a finished spin: a line, or which ending a miss leads to.
    bool isLine() const;
    Ending endingAfterMiss() const;
    // Pays the line the reels show.
    const Payout &payLine();
    bool goalReached() const;

    // Visitor r's change, and the button that closes the visitor's window.
    EventClosing visit(int r);
    bool yearIsOver() const;

    // A fresh code for the days used, kept in the state.
    const QString &makeResultCode();

private:
    RandomSource &random_;
    GameState state_;
    // Whether each reel showed a frame of this spin before it was stopped.
    std::array<bool, reels::count> turnedThisSpin_{};
};

// The fewest days in which any game can reach the goal: no real win carries
// a smaller score.
int fewestDaysToGoal();
