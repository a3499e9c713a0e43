// The winner's eight-digit code.

#include "endings/ResultCode.h"
#include "support/ScriptedPlatform.h"

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

QTEST_MAIN(TestResultCode)
#include "tst_resultcode.moc"
