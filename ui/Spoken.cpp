#include "ui/Spoken.h"

#include "rules/Reels.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace spoken {
namespace {

// The wording is translated each time it is asked for, in context "spoken".
QString text(const char *source)
{
    return QCoreApplication::translate("spoken", source);
}

const std::array<const char *, reels::count> reelNames{
    QT_TRANSLATE_NOOP("spoken", "左のリール"), QT_TRANSLATE_NOOP("spoken", "中のリール"),
    QT_TRANSLATE_NOOP("spoken", "右のリール")};

// What a reel shows: its symbol, or nothing before its first spin.
QString symbolShown(int reel, const GameState &state)
{
    const QString name = symbolName(state.reelSymbol.at(reel));
    return name.isEmpty() ? text(QT_TRANSLATE_NOOP("spoken", "絵なし")) : name;
}

QString amount(std::int32_t ryo)
{
    return text(QT_TRANSLATE_NOOP("spoken", "%1両")).arg(decimal(ryo));
}

} // namespace

QString reel(int reel)
{
    return text(reelNames.at(reel));
}

QString reelShows(int reel, const GameState &state)
{
    return spoken::reel(reel) + u' ' + (state.reelRunning.at(reel) ? spinning() : symbolShown(reel, state));
}

QString reelKeys(int reel)
{
    return text(QT_TRANSLATE_NOOP("spoken", "キー %1 か Enter で止めます")).arg(reel + 1);
}

QString stopButton(int reel)
{
    return text(QT_TRANSLATE_NOOP("spoken", "%1を止める")).arg(spoken::reel(reel));
}

QString stopState(int reel, bool running)
{
    return text(QT_TRANSLATE_NOOP("spoken", "キー %1。%2"))
        .arg(reel + 1)
        .arg(running ? text(QT_TRANSLATE_NOOP("spoken", "今押せます"))
                     : text(QT_TRANSLATE_NOOP("spoken", "リールは止まっています")));
}

QString money(std::int32_t ryo)
{
    return text(QT_TRANSLATE_NOOP("spoken", "所持金 %1")).arg(amount(ryo));
}

QString day(const GameState &state)
{
    // Days past the limit are possible after a line: none is left then.
    return text(QT_TRANSLATE_NOOP("spoken", "%1日目、残り%2日"))
        .arg(state.spinCount)
        .arg(std::max(0, state.dayLimit - state.spinCount));
}

QString spinStarted(const GameState &state)
{
    return text(QT_TRANSLATE_NOOP("spoken", "%1。%2。%3")).arg(day(state), spinning(), money(state.ryo));
}

QString reelStopped(int reel, const GameState &state)
{
    return spoken::reel(reel) + u' ' + symbolShown(reel, state);
}

QString line(const QString &symbol, const Payout &payout, const GameState &state)
{
    return text(QT_TRANSLATE_NOOP("spoken", "%1が三つ そろいました。%2 獲得。%3"))
        .arg(symbolName(symbol), amount(payout.ryo), money(state.ryo));
}

QString miss(const GameState &state)
{
    return text(QT_TRANSLATE_NOOP("spoken", "そろいませんでした。%1")).arg(money(state.ryo));
}

QString visitor(const VisitorEvent &event, const GameState &state)
{
    const QString change = event.kind == EventKind::Loss ? text(QT_TRANSLATE_NOOP("spoken", "%1を取られました"))
                                                         : text(QT_TRANSLATE_NOOP("spoken", "%1をもらいました"));
    QString words = messageOf(event);
    words.replace(u"\r\n"_s, u" "_s);
    return text(QT_TRANSLATE_NOOP("spoken", "客が来ました。%1。「%2」%3。%4"))
        .arg(speakerOf(event), words, change.arg(amount(event.amount)), money(state.ryo));
}

QString oneByOne(const QString &text)
{
    QStringList characters;
    for (const QChar c : text)
        characters << QString(c);
    return characters.join(u' ');
}

QString spinning()
{
    return text(QT_TRANSLATE_NOOP("spoken", "回転中"));
}

QString visitorHere()
{
    return text(QT_TRANSLATE_NOOP("spoken", "客が来ています"));
}

} // namespace spoken
