// The winner's eight-digit code, made and read back, and the fewest days a
// real win can carry.

#include "rules/ResultCode.h"
#include "rules/SlotGame.h"
#include "support/ScriptedSeams.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestResultCode : public QObject {
    Q_OBJECT

private slots:
    void codes_data();
    void codes();
    void everyCodeKeepsItsSums();
    void keyIsDrawnOverItsWholeRange_data();
    void keyIsDrawnOverItsWholeRange();
    void readingBack_data();
    void readingBack();
    void fewestDaysAreReachableAndNoFewer();
};

void TestResultCode::codes_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("code");

    // k, u, 9-t, 12-k, h, 9-u, t, 9-h
    QTest::newRow("7: one digit") << 7 << 3 << u"37990209"_s;
    QTest::newRow("42: two digits") << 42 << 9 << u"92530749"_s;
    QTest::newRow("365: three digits") << 365 << 5 << u"55373466"_s;
    QTest::newRow("1234: only the last three count") << 1234 << 6 << u"64662537"_s;
    QTest::newRow("1042: as 42") << 1042 << 9 << u"92530749"_s;
    QTest::newRow("1000: as 0") << 1000 << 4 << u"40980909"_s;
}

void TestResultCode::codes()
{
    QFETCH(int, score);
    QFETCH(int, key);
    QFETCH(QString, code);
    QCOMPARE(resultcode::make(score, key), code);
}

void TestResultCode::everyCodeKeepsItsSums()
{
    for (int score = 1; score <= 2100; ++score) {
        for (int key = 3; key <= 9; ++key) {
            const QString code = resultcode::make(score, key);
            QCOMPARE(code.size(), 8);
            int d[8];
            for (int i = 0; i < 8; ++i) {
                QVERIFY(code[i].isDigit() && code[i].unicode() < 128);
                d[i] = code[i].digitValue();
            }
            QCOMPARE(d[0], key);
            QCOMPARE(d[0] + d[3], 12);
            QCOMPARE(d[1] + d[5], 9);
            QCOMPARE(d[2] + d[6], 9);
            QCOMPARE(d[4] + d[7], 9);
            // Scores 1000 apart share every digit but the key pair.
            QCOMPARE(resultcode::make(score + 1000, key), code);
            // Every code made reads back as its score's last three digits.
            QCOMPARE(resultcode::scoreOf(code), std::optional<int>(score % 1000));
        }
    }
}

void TestResultCode::keyIsDrawnOverItsWholeRange_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<int>("key");
    QTest::newRow("u = 0") << 0.0 << 3;
    for (int k = 3; k <= 9; ++k) {
        QTest::addRow("just below %d", k + 1) << std::nextafter((k - 2) / 7.0, 0.0) << k;
        QTest::addRow("exactly into %d", k) << (k - 3) / 7.0 << k;
    }
    QTest::newRow("u just below 1") << std::nextafter(1.0, 0.0) << 9;
}

void TestResultCode::keyIsDrawnOverItsWholeRange()
{
    QFETCH(double, u);
    QFETCH(int, key);
    ScriptedRandom random;
    random.queue(u);
    QCOMPARE(resultcode::drawKey(random), key);
}

void TestResultCode::readingBack_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("score");   // -1: not a code

    QTest::newRow("day 7") << u"37990209"_s << 7;
    QTest::newRow("day 42") << u"92530749"_s << 42;
    QTest::newRow("day 365") << u"55373466"_s << 365;
    QTest::newRow("a multiple of 1000 reads as 0") << u"40980909"_s << 0;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("seven digits") << u"3799020"_s << -1;
    QTest::newRow("nine digits") << u"379902090"_s << -1;
    QTest::newRow("a letter") << u"3799020a"_s << -1;
    QTest::newRow("a space inside") << u"3799 209"_s << -1;
    QTest::newRow("a sign") << u"+3799020"_s << -1;
    QTest::newRow("full-width digits") << u"\uFF13\uFF17\uFF19\uFF19\uFF10\uFF12\uFF10\uFF19"_s << -1;
    QTest::newRow("Arabic-Indic digits") << u"\u0663\u0667\u0669\u0669\u0660\u0662\u0660\u0669"_s << -1;
    QTest::newRow("positions 1 and 4 add up to 11") << u"37980209"_s << -1;
    QTest::newRow("a key of 2, whose pair would be 10") << u"27990209"_s << -1;
    QTest::newRow("positions 2 and 6 add up to 10") << u"37990309"_s << -1;
    QTest::newRow("positions 3 and 7 add up to 10") << u"37990219"_s << -1;
    QTest::newRow("positions 5 and 8 add up to 10") << u"37991209"_s << -1;
    QTest::newRow("every digit the same") << u"66666666"_s << -1;
}

void TestResultCode::readingBack()
{
    QFETCH(QString, code);
    QFETCH(int, score);
    const std::optional<int> read = resultcode::scoreOf(code);
    QCOMPARE(read.value_or(-1), score);
}

void TestResultCode::fewestDaysAreReachableAndNoFewer()
{
    // The best day is a line of faces: 500 less the fee. A game of nothing but
    // such lines reaches 5000 on the fewest days, and one day earlier it is
    // still short; no visitor gives more in a day.
    const int fewest = fewestDaysToGoal();
    QCOMPARE(fewest, 9);
    const int bestDay = 500 - 5;
    QVERIFY(1000 + fewest * bestDay >= 5000);
    QVERIFY(1000 + (fewest - 1) * bestDay < 5000);
    for (const VisitorEvent &event : eventTable())
        QVERIFY(event.amount < bestDay);
}

QTEST_GUILESS_MAIN(TestResultCode)
#include "tst_resultcode.moc"
