// The eleven visitors: who comes, what they take or give, and their exact words.

#include "rules/EventTable.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestEventTable : public QObject {
    Q_OBJECT

private slots:
    void visitors_data();
    void visitors();
    void outcome_data();
    void outcome();
};

void TestEventTable::visitors_data()
{
    QTest::addColumn<int>("r");
    QTest::addColumn<bool>("loss");
    QTest::addColumn<int>("amount");
    QTest::addColumn<QString>("speaker");
    QTest::addColumn<QString>("message");

    // Written out byte for byte: half-width "､" and "!" where the visitor
    // uses them, the full-width "１" in "１0両", trailing spaces, CR LF.
    QTest::newRow("0 ホウゲン") << 0 << true << 100 << u"ホウゲン"_s
        << u"ソラさん\r\n大変なことに\r\nなっちまったぜ!\r\n泥棒が100両\uFF64\r\n盗みやがった! "_s;
    QTest::newRow("1 タチバ") << 1 << true << 50 << u"タチバ"_s
        << u"お手前の藩名は？\r\nなに！浪人か！\r\n今回は50両出せば\uFF64\r\n見逃してやる！"_s;
    QTest::newRow("2 ムラクモ") << 2 << true << 10 << u"ムラクモ"_s
        << u"ミナセくん\r\n申し訳ないが\u3001\r\n逃走資金に\uFF110両\uFF64\r\n貸してつかーされ！ "_s;
    QTest::newRow("3 イワト") << 3 << true << 30 << u"イワト"_s
        << u"ソラマ\u3001\r\n軍備を調えたいき\r\n30両ばあ\r\n出してくれ！"_s;
    QTest::newRow("4 おすず") << 4 << true << 5 << u"おすず"_s
        << u"月琴の月謝が\r\n何ヶ月も\r\nたまっていまんねん。\r\n\uFF15両いただけまへんか。"_s;
    QTest::newRow("5 ヨシカタ") << 5 << true << 10 << u"ヨシカタ"_s
        << u"何\u3001\r\n砲術を習いたいのか\r\nうちの授業料は\r\n10両だよ。"_s;
    QTest::newRow("6 ハツネ") << 6 << false << 20 << u"ハツネ"_s
        << u"ソラマ\uFF64\r\nゲンパチ兄さんに頼き\r\n20両\r\n送ってもろーたよ!"_s;
    QTest::newRow("7 アマギ") << 7 << false << 10 << u"アマギ"_s
        << u"ミナセくん\r\nこの短筒を\r\n受け取ってつかーされ。\r\n10両ぐらいで\r\n売れるでしょう。"_s;
    QTest::newRow("8 クロガネ") << 8 << false << 50 << u"クロガネ"_s
        << u"ミナセさぁ\r\n薩摩の気持ちでごわす。\r\n50両ありもんす。\r\n好きなように使こうてたもんせ。"_s;
    QTest::newRow("9 ヤスダ") << 9 << false << 90 << u"ヤスダ"_s
        << u"ミナセさん\r\n1丁18両のミニエー銃が\r\n5丁売れちゅう。\r\n90両になるがでよ。"_s;
    QTest::newRow("10 トキワ") << 10 << false << 30 << u"トキワ"_s
        << u"あしは京都留守居役\r\nになったがで金の事は\r\n心配しやーせきおせ。\r\n30両ここにあるがで。"_s;
}

void TestEventTable::visitors()
{
    QFETCH(int, r);
    QFETCH(bool, loss);
    QFETCH(int, amount);
    QFETCH(QString, speaker);
    QFETCH(QString, message);

    const VisitorEvent &event = eventTable().at(r);
    QCOMPARE(event.kind == EventKind::Loss, loss);
    QCOMPARE(event.amount, amount);
    QCOMPARE(speakerOf(event), speaker);
    QCOMPARE(messageOf(event).toUtf8(), message.toUtf8());
    QCOMPARE(endingOf(event.kind), loss ? EventClosing::MoneyGone : EventClosing::GoalReached);
}

void TestEventTable::outcome_data()
{
    QTest::addColumn<int>("ryo");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("after");
    QTest::addColumn<EventClosing>("closing");

    QTest::newRow("loss to exactly 0 is money gone") << 100 << 0 << 0 << EventClosing::MoneyGone;
    QTest::newRow("loss below 0 is money gone") << 30 << 0 << -70 << EventClosing::MoneyGone;
    QTest::newRow("loss leaving 1 goes on") << 101 << 0 << 1 << EventClosing::Next;
    QTest::newRow("gain to exactly the goal") << 4950 << 8 << 5000 << EventClosing::GoalReached;
    QTest::newRow("gain one short of the goal") << 4949 << 8 << 4999 << EventClosing::Next;
    QTest::newRow("gain past the goal") << 4990 << 9 << 5080 << EventClosing::GoalReached;
    QTest::newRow("gain still at or below 0 goes on") << -100 << 9 << -10 << EventClosing::Next;
    QTest::newRow("loss still at the goal goes on") << 5100 << 0 << 5000 << EventClosing::Next;
    QTest::newRow("smallest loss from 5") << 5 << 4 << 0 << EventClosing::MoneyGone;
}

void TestEventTable::outcome()
{
    QFETCH(int, ryo);
    QFETCH(int, r);
    QFETCH(int, after);
    QFETCH(EventClosing, closing);

    const EventOutcome outcome = applyEvent(eventTable().at(r), ryo, 5000);
    QCOMPARE(outcome.ryo, after);
    QCOMPARE(outcome.closing, closing);
}

QTEST_GUILESS_MAIN(TestEventTable)
#include "tst_eventtable.moc"
