#include "rules/EventTable.h"

using namespace Qt::StringLiterals;

const std::array<VisitorEvent, visitorCount> &eventTable()
{
    // The visitors' words are the game's own text, each line exactly as it is
    // shown: its trailing space, its mix of full-width and half-width forms.
    static const std::array<VisitorEvent, visitorCount> table{{
        {EventKind::Loss, 100, u"ホウゲン"_s, {u"ソラさん"_s, u"大変なことに"_s, u"なっちまったぜ!"_s, u"泥棒が100両､"_s, u"盗みやがった! "_s}},
        {EventKind::Loss, 50, u"タチバ"_s, {u"お手前の藩名は？"_s, u"なに！浪人か！"_s, u"今回は50両出せば､"_s, u"見逃してやる！"_s}},
        {EventKind::Loss, 10, u"ムラクモ"_s, {u"ミナセくん"_s, u"申し訳ないが、"_s, u"逃走資金に１0両､"_s, u"貸してつかーされ！ "_s}},
        {EventKind::Loss, 30, u"イワト"_s, {u"ソラマ、"_s, u"軍備を調えたいき"_s, u"30両ばあ"_s, u"出してくれ！"_s}},
        {EventKind::Loss, 5, u"おすず"_s, {u"月琴の月謝が"_s, u"何ヶ月も"_s, u"たまっていまんねん。"_s, u"５両いただけまへんか。"_s}},
        {EventKind::Loss, 10, u"ヨシカタ"_s, {u"何、"_s, u"砲術を習いたいのか"_s, u"うちの授業料は"_s, u"10両だよ。"_s}},
        {EventKind::Gain, 20, u"ハツネ"_s, {u"ソラマ､"_s, u"ゲンパチ兄さんに頼き"_s, u"20両"_s, u"送ってもろーたよ!"_s}},
        {EventKind::Gain, 10, u"アマギ"_s, {u"ミナセくん"_s, u"この短筒を"_s, u"受け取ってつかーされ。"_s, u"10両ぐらいで"_s, u"売れるでしょう。"_s}},
        {EventKind::Gain, 50, u"クロガネ"_s, {u"ミナセさぁ"_s, u"薩摩の気持ちでごわす。"_s, u"50両ありもんす。"_s, u"好きなように使こうてたもんせ。"_s}},
        {EventKind::Gain, 90, u"ヤスダ"_s, {u"ミナセさん"_s, u"1丁18両のミニエー銃が"_s, u"5丁売れちゅう。"_s, u"90両になるがでよ。"_s}},
        {EventKind::Gain, 30, u"トキワ"_s, {u"あしは京都留守居役"_s, u"になったがで金の事は"_s, u"心配しやーせきおせ。"_s, u"30両ここにあるがで。"_s}},
    }};
    return table;
}

EventClosing endingOf(EventKind kind)
{
    return kind == EventKind::Loss ? EventClosing::MoneyGone : EventClosing::GoalReached;
}

QString messageOf(const VisitorEvent &event)
{
    return event.lines.join(u"\r\n"_s);
}

EventOutcome applyEvent(const VisitorEvent &event, std::int32_t ryo, std::int32_t goalRyo)
{
    // A loss only ever asks whether the purse is empty, a gain only whether
    // the goal is reached.
    const bool loss = event.kind == EventKind::Loss;
    const std::int32_t after = loss ? ryo - event.amount : ryo + event.amount;
    const bool ends = loss ? after <= 0 : after >= goalRyo;
    return {after, ends ? endingOf(event.kind) : EventClosing::Next};
}
