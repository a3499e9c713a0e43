#pragma once

#include "rules/EventTable.h"
#include "rules/GameState.h"
#include "rules/PayTable.h"

#include <QString>

// What a screen reader hears of the game: the names and states of the
// controls and the news spoken without moving the focus. The facts (symbol
// names, visitors, amounts) come from the rules; only the wording is here,
// in the language of the translators installed when it is asked for.
// Reels are numbered 0 to 2, as in the rules.
namespace spoken {

QString reel(int reel);                                  // 左のリール
QString reelShows(int reel, const GameState &state);     // 左のリール 顔 / 回転中
QString reelKeys(int reel);
QString stopButton(int reel);                            // 左のリールを止める
QString stopState(int reel, bool running);               // its key, and whether it can be pressed now

QString money(std::int32_t ryo);                          // 所持金 995両
QString day(const GameState &state);                      // 1日目、残り364日

// The news of a day, each said once.
QString spinStarted(const GameState &state);
QString reelStopped(int reel, const GameState &state);
QString line(const QString &symbol, const Payout &payout, const GameState &state);
QString miss(const GameState &state);
QString visitor(const VisitorEvent &event, const GameState &state);

// A text read one character at a time: "1 2 3 4".
QString oneByOne(const QString &text);

// What stands where 始 stood.
QString spinning();
QString visitorHere();

} // namespace spoken
