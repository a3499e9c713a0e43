// The reel strips and where a reel comes to rest when its Stop is pressed.

#include "support/GameFixture.h"

#include "game/Pause.h"
#include "game/Reels.h"
#include "ui/Fonts.h"
#include "ui/Pictures.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
// The symbols on frames 0, 2, ..., 14 of each strip.
const char *const strips[3] = {"acbadcad", "adcbadcb", "adcbdcbd"};
} // namespace

class TestReels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void landing_data();
    void landing();
    void inBetweenFramesNameTheirNeighbours();
    void firstTickShowsFrameOneWhateverWasShownBefore();
    void stopBeforeTheFirstTickKeepsWhatWasShown();
    void holdLastsJustMoreThanItsSpan_data();
    void holdLastsJustMoreThanItsSpan();
    void drawsCoverTheirWholeRange();
};

void TestReels::landing_data()
{
    QTest::addColumn<int>("reel");
    QTest::addColumn<int>("ticks");        // timer ticks before the Stop
    QTest::addColumn<int>("restFrame");
    QTest::addColumn<QString>("symbol");

    for (int reel = 0; reel < 3; ++reel) {
        // After n ticks the reel shows frame n mod 16 and the next tick would
        // show n + 1: an in-between frame on screen lands on the next symbol.
        for (int ticks = 1; ticks <= 16; ++ticks) {
            const int shown = ticks % 16;
            const int rest = shown % 2 == 0 ? shown : (shown + 1) % 16;
            QTest::addRow("reel %d, frame %d on screen", reel + 1, shown)
                << reel << ticks << rest << QString(QChar::fromLatin1(strips[reel][rest / 2]));
        }
    }
}

void TestReels::landing()
{
    QFETCH(int, reel);
    QFETCH(int, ticks);
    QFETCH(int, restFrame);
    QFETCH(QString, symbol);

    GameFixture game;
    game.pressStartForSpin();
    game.tick(ticks);
    game.stop(reel);

    QCOMPARE(game.state().reelSymbol[reel], symbol);
    auto *slot = game.find<QLabel>(qPrintable(u"picSlot%1"_s.arg(reel + 1)));
    const QPixmap expected = pictures::reelFrame(reels::pictureIndex(reel, restFrame), slot->devicePixelRatioF());
    QCOMPARE(slot->pixmap().toImage(), expected.toImage());
    // The other reels run on in step.
    QCOMPARE(game.state().tick, ticks + 1);
    for (int other = 0; other < 3; ++other)
        QCOMPARE(game.state().reelRunning[other], other != reel);
}

void TestReels::inBetweenFramesNameTheirNeighbours()
{
    for (int reel = 0; reel < 3; ++reel) {
        for (int frame = 1; frame < 16; frame += 2) {
            const auto between = reels::betweenAt(reel, frame);
            QCOMPARE(between.leaving, strips[reel][(frame - 1) / 2]);
            QCOMPARE(between.entering, strips[reel][((frame + 1) % 16) / 2]);
            QVERIFY(reels::symbolAt(reel, frame).isEmpty());
        }
    }
}

void TestReels::firstTickShowsFrameOneWhateverWasShownBefore()
{
    GameFixture game;
    game.spinAndStopOn(8, 8, 8);
    game.pressStartForSpin();
    game.tick();
    for (int reel = 0; reel < 3; ++reel) {
        auto *slot = game.find<QLabel>(qPrintable(u"picSlot%1"_s.arg(reel + 1)));
        QCOMPARE(slot->pixmap().toImage(),
                 pictures::reelFrame(reels::pictureIndex(reel, 1), slot->devicePixelRatioF()).toImage());
        QCOMPARE(game.state().reelSymbol[reel], QString(QChar::fromLatin1(strips[reel][4])));
    }
}

void TestReels::stopBeforeTheFirstTickKeepsWhatWasShown()
{
    GameFixture game;
    game.spinAndStopOn(4, 4, 4);   // "b", "c", "c"
    const QImage before = game.find<QLabel>("picSlot2")->pixmap().toImage();
    game.pressStartForSpin();
    game.stop(1);
    QCOMPARE(game.state().reelSymbol[1], u"c");
    QCOMPARE(game.find<QLabel>("picSlot2")->pixmap().toImage(), before);
}

void TestReels::holdLastsJustMoreThanItsSpan_data()
{
    QTest::addColumn<int>("millis");
    QTest::addColumn<double>("sleepShare");
    QTest::newRow("flash step") << 200 << 1.0;
    QTest::newRow("flash step, sleeps cut short") << 200 << 0.4;
    QTest::newRow("pause before the goal") << 2000 << 1.0;
    QTest::newRow("pause, sleeps cut very short") << 2000 << 0.001;
}

void TestReels::holdLastsJustMoreThanItsSpan()
{
    QFETCH(int, millis);
    QFETCH(double, sleepShare);
    ScriptedClock clock;
    clock.advance(std::chrono::hours(23) + 59min + 59s);   // wherever the clock stands
    const auto start = clock.elapsed();
    clock.sleepShare = sleepShare;
    holdFor(clock, std::chrono::milliseconds(millis));
    const auto held = clock.elapsed() - start;
    QVERIFY(held > std::chrono::milliseconds(millis));
    QVERIFY(held < std::chrono::milliseconds(millis) + 1ms);
    // It sleeps rather than spinning on the clock.
    QVERIFY(clock.sleeps < 100 || sleepShare < 0.01);
}

void TestReels::drawsCoverTheirWholeRange()
{
    ScriptedRandom random;
    for (double u : {0.0, 0.2199, 0.22, 0.5, std::nextafter(1.0, 0.0)})
        random.queue(u);
    QCOMPARE(drawWhole(random, 50), 0);
    QCOMPARE(drawWhole(random, 50), 10);
    QCOMPARE(drawWhole(random, 50), 11);
    QCOMPARE(drawWhole(random, 50), 25);
    QCOMPARE(drawWhole(random, 50), 49);
}

QTEST_MAIN(TestReels)
#include "tst_reels.moc"
