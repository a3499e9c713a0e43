#include "rules/SlotGame.h"

#include "rules/ResultCode.h"
#include "rules/Seams.h"

#include <algorithm>

SlotGame::SlotGame(RandomSource &random)
    : random_(random)
{
}

void SlotGame::reset()
{
    state_.tick = 0;
    state_.goalRyo = rules::goalRyo;
    state_.dayLimit = rules::dayLimit;
    state_.spinCount = 0;
    state_.ryo = rules::startingRyo;
}

void SlotGame::countDay()
{
    ++state_.spinCount;
}

Day SlotGame::drawDay()
{
    const int r = drawWhole(random_, rules::drawRange);
    if (r <= rules::lastEventDraw)
        return {true, r};
    state_.ryo -= rules::spinFee;
    state_.tick = 1;
    state_.reelRunning = {true, true, true};
    return {false, r};
}

std::optional<int> SlotGame::advanceReels()
{
    if (state_.tick == 0)
        return std::nullopt;
    const int k = reels::nextFrame(state_.tick);
    if (reels::isSymbolFrame(k)) {
        for (int reel = 0; reel < reels::count; ++reel) {
            if (state_.reelRunning[reel])
                state_.reelSymbol[reel] = reels::symbolAt(reel, k);
        }
    }
    ++state_.tick;
    return k;
}

ReelStop SlotGame::stop(int reel)
{
    ReelStop result;
    if (!state_.reelRunning[reel])
        return result;
    // An in-between picture on screen lands on the symbol after it; a symbol
    // on screen stays.
    const int k = reels::nextFrame(state_.tick);
    if (reels::isSymbolFrame(k)) {
        state_.reelSymbol[reel] = reels::symbolAt(reel, k);
        result.landedOn = k;
    }
    turnedThisSpin_[reel] = reels::hasTurnedThisSpin(state_.tick);
    state_.reelRunning[reel] = false;
    result.wasRunning = true;
    return result;
}

bool SlotGame::endSpinIfAllStopped()
{
    if (std::any_of(state_.reelRunning.begin(), state_.reelRunning.end(), [](bool running) { return running; }))
        return false;
    state_.tick = 0;
    return true;
}

bool SlotGame::isLine() const
{
    return isWinningLine(state_.reelSymbol, turnedThisSpin_);
}

Ending SlotGame::endingAfterMiss() const
{
    return ::endingAfterMiss(state_.ryo, state_.spinCount, state_.dayLimit);
}

const Payout &SlotGame::payLine()
{
    const Payout &payout = payoutFor(state_.reelSymbol[0]);
    state_.ryo += payout.ryo;
    return payout;
}

bool SlotGame::goalReached() const
{
    return state_.ryo >= state_.goalRyo;
}

EventClosing SlotGame::visit(int r)
{
    const EventOutcome outcome = applyEvent(eventTable().at(r), state_.ryo, state_.goalRyo);
    state_.ryo = outcome.ryo;
    return outcome.closing;
}

bool SlotGame::yearIsOver() const
{
    return state_.spinCount >= state_.dayLimit;
}

const QString &SlotGame::makeResultCode()
{
    state_.resultCode = resultcode::make(state_.spinCount, resultcode::drawKey(random_));
    return state_.resultCode;
}

int fewestDaysToGoal()
{
    // No day brings more than the best line less the fee, or the most
    // generous visitor; and a run of best lines does reach the goal.
    std::int32_t bestDay = 0;
    for (const PayLine &line : payLines())
        bestDay = std::max(bestDay, line.payout.ryo - rules::spinFee);
    for (const VisitorEvent &event : eventTable()) {
        if (event.kind == EventKind::Gain)
            bestDay = std::max(bestDay, event.amount);
    }
    const std::int32_t needed = rules::goalRyo - rules::startingRyo;
    return (needed + bestDay - 1) / bestDay;
}
