#include "rules/EventTable.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

const std::array<VisitorEvent, visitorCount> &eventTable()
{
    // The visitors' words are the game's own text, each line exactly as it is
    // shown: its trailing space, its mix of full-width and half-width forms.
    // A message is translated whole, its lines apart by \n, so that another
    // language may break them where it reads best.
    static const std::array<VisitorEvent, visitorCount> table{{
        {EventKind::Loss, 100, QT_TRANSLATE_NOOP("EventTable", "ホウゲン"),
         QT_TRANSLATE_NOOP("EventTable", "ソラさん\n大変なことに\nなっちまったぜ!\n泥棒が100両､\n盗みやがった! ")},
        {EventKind::Loss, 50, QT_TRANSLATE_NOOP("EventTable", "タチバ"),
         QT_TRANSLATE_NOOP("EventTable", "お手前の藩名は？\nなに！浪人か！\n今回は50両出せば､\n見逃してやる！")},
        {EventKind::Loss, 10, QT_TRANSLATE_NOOP("EventTable", "ムラクモ"),
         QT_TRANSLATE_NOOP("EventTable", "ミナセくん\n申し訳ないが、\n逃走資金に１0両､\n貸してつかーされ！ ")},
        {EventKind::Loss, 30, QT_TRANSLATE_NOOP("EventTable", "イワト"),
         QT_TRANSLATE_NOOP("EventTable", "ソラマ、\n軍備を調えたいき\n30両ばあ\n出してくれ！")},
        {EventKind::Loss, 5, QT_TRANSLATE_NOOP("EventTable", "おすず"),
         QT_TRANSLATE_NOOP("EventTable", "月琴の月謝が\n何ヶ月も\nたまっていまんねん。\n５両いただけまへんか。")},
        {EventKind::Loss, 10, QT_TRANSLATE_NOOP("EventTable", "ヨシカタ"),
         QT_TRANSLATE_NOOP("EventTable", "何、\n砲術を習いたいのか\nうちの授業料は\n10両だよ。")},
        {EventKind::Gain, 20, QT_TRANSLATE_NOOP("EventTable", "ハツネ"),
         QT_TRANSLATE_NOOP("EventTable", "ソラマ､\nゲンパチ兄さんに頼き\n20両\n送ってもろーたよ!")},
        {EventKind::Gain, 10, QT_TRANSLATE_NOOP("EventTable", "アマギ"),
         QT_TRANSLATE_NOOP("EventTable", "ミナセくん\nこの短筒を\n受け取ってつかーされ。\n10両ぐらいで\n売れるでしょう。")},
        {EventKind::Gain, 50, QT_TRANSLATE_NOOP("EventTable", "クロガネ"),
         QT_TRANSLATE_NOOP("EventTable", "ミナセさぁ\n薩摩の気持ちでごわす。\n50両ありもんす。\n好きなように使こうてたもんせ。")},
        {EventKind::Gain, 90, QT_TRANSLATE_NOOP("EventTable", "ヤスダ"),
         QT_TRANSLATE_NOOP("EventTable", "ミナセさん\n1丁18両のミニエー銃が\n5丁売れちゅう。\n90両になるがでよ。")},
        {EventKind::Gain, 30, QT_TRANSLATE_NOOP("EventTable", "トキワ"),
         QT_TRANSLATE_NOOP("EventTable", "あしは京都留守居役\nになったがで金の事は\n心配しやーせきおせ。\n30両ここにあるがで。")},
    }};
    return table;
}

EventClosing endingOf(EventKind kind)
{
    return kind == EventKind::Loss ? EventClosing::MoneyGone : EventClosing::GoalReached;
}

QString speakerOf(const VisitorEvent &event)
{
    return QCoreApplication::translate("EventTable", event.speaker);
}

QString messageOf(const VisitorEvent &event)
{
    return QCoreApplication::translate("EventTable", event.message).replace(u'\n', u"\r\n"_s);
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
