#include "ui/Spoken.h"

#include "rules/Reels.h"

#include <QStringList>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace spoken {
namespace {

const std::array<QString, reels::count> reelNames{u"左のリール"_s, u"中のリール"_s, u"右のリール"_s};

// What a reel shows: its symbol, or nothing before its first spin.
QString symbolShown(int reel, const GameState &state)
{
    const QStringView name = symbolName(state.reelSymbol.at(reel));
    return name.isEmpty() ? u"絵なし"_s : name.toString();
}

QString amount(std::int32_t ryo)
{
    return decimal(ryo) + u"両"_s;
}

} // namespace

QString reel(int reel)
{
    return reelNames.at(reel);
}

QString reelShows(int reel, const GameState &state)
{
    return reelNames.at(reel) + u' ' + (state.reelRunning.at(reel) ? spinning : symbolShown(reel, state));
}

QString reelKeys(int reel)
{
    return u"キー %1 か Enter で止めます"_s.arg(reel + 1);
}

QString stopButton(int reel)
{
    return reelNames.at(reel) + u"を止める"_s;
}

QString stopState(int reel, bool running)
{
    return u"キー %1。%2"_s.arg(reel + 1).arg(running ? u"今押せます"_s : u"リールは止まっています"_s);
}

QString money(std::int32_t ryo)
{
    return u"所持金 "_s + amount(ryo);
}

QString day(const GameState &state)
{
    // Days past the limit are possible after a line: none is left then.
    return u"%1日目、残り%2日"_s.arg(state.spinCount).arg(std::max(0, state.dayLimit - state.spinCount));
}

QString spinStarted(const GameState &state)
{
    return day(state) + u"。"_s + spinning + u"。"_s + money(state.ryo);
}

QString reelStopped(int reel, const GameState &state)
{
    return reelNames.at(reel) + u' ' + symbolShown(reel, state);
}

QString line(const QString &symbol, const Payout &payout, const GameState &state)
{
    return u"%1が三つ そろいました。%2 獲得。"_s.arg(symbolName(symbol), amount(payout.ryo)) + money(state.ryo);
}

QString miss(const GameState &state)
{
    return u"そろいませんでした。"_s + money(state.ryo);
}

QString visitor(const VisitorEvent &event, const GameState &state)
{
    const QString change = event.kind == EventKind::Loss ? u"%1を取られました"_s : u"%1をもらいました"_s;
    return u"客が来ました。%1。「%2」%3。"_s.arg(event.speaker, event.lines.join(u' '), change.arg(amount(event.amount)))
        + money(state.ryo);
}

QString oneByOne(const QString &text)
{
    QStringList characters;
    for (const QChar c : text)
        characters << QString(c);
    return characters.join(u' ');
}

} // namespace spoken
