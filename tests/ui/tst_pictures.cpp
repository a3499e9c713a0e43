// The pictures compiled into the game: their sizes at 1x and 2x, the reel
// strips' in-between frames, which frames are one picture, and the form they
// are compiled in.

#include "ui/PictureFile.h"
#include "ui/Pictures.h"

#include <QBuffer>
#include <QPainter>
#include <QTest>

#include <set>

using namespace Qt::StringLiterals;

namespace {

// The symbols on frames 0, 2, ..., 14 of each strip.
const char *const strips[3] = {"acbadcad", "adcbadcb", "adcbdcbd"};
constexpr int frames = 16;

// What frame `frame` of reel `reel` shows: its letter, or the entering letter
// over the leaving one.
QString shows(int reel, int frame)
{
    const auto at = [&](int symbolFrame) { return QChar::fromLatin1(strips[reel][(symbolFrame % frames) / 2]); };
    return frame % 2 == 0 ? QString(at(frame)) : at(frame + 1) + u"/"_s + at(frame - 1);
}

QImage half(const QImage &image, bool upper)
{
    const int h = image.height() / 2;
    return image.copy(0, upper ? 0 : h, image.width(), h);
}

// The smallest rectangle holding every pixel that is not white.
QRect ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void inBetweenFramesAreHalvesOfTheirNeighbours_data();
    void inBetweenFramesAreHalvesOfTheirNeighbours();
    void equalFramesAreOnePicture_data();
    void equalFramesAreOnePicture();
    void symbolsSitCentredOnWhite_data();
    void symbolsSitCentredOnWhite();
    void portraitsAreGreyscaleButOsuzu();
    void logoAndIconHaveATransparentGround();
    void windowIconComesInEveryDesktopSize();
    void pictureFilesShowAsPngFilesDid_data();
    void pictureFilesShowAsPngFilesDid();
    void damagedPictureFilesReadAsNothing_data();
    void damagedPictureFilesReadAsNothing();
};

void TestPictures::sizes_data()
{
    QTest::addColumn<QPixmap>("pixmap");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("dpr");

    const QSize portraits[] = {{80, 91}, {80, 91}, {80, 91}, {81, 90}, {79, 91}, {74, 91},
                               {80, 91}, {80, 91}, {80, 90}, {79, 91}, {80, 92}};
    for (qreal dpr : {1.0, 2.0}) {
        for (int i = 0; i < 3 * frames; ++i)
            QTest::addRow("reel picture %d at %gx", i, dpr) << pictures::reelFrame(i, dpr) << QSize(32, 32) << dpr;
        for (int k = 0; k < pictures::portraitCount; ++k)
            QTest::addRow("portrait %d at %gx", k, dpr) << pictures::portrait(k, dpr) << portraits[k] << dpr;
        QTest::addRow("logo at %gx", dpr) << pictures::logo(dpr) << QSize(150, 158) << dpr;
    }
}

void TestPictures::sizes()
{
    QFETCH(QPixmap, pixmap);
    QFETCH(QSize, size);
    QFETCH(qreal, dpr);

    QCOMPARE(pixmap.size(), size * dpr);
    QCOMPARE(pixmap.devicePixelRatio(), dpr);
}

void TestPictures::inBetweenFramesAreHalvesOfTheirNeighbours_data()
{
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<int>("reel");
    QTest::addColumn<int>("frame");
    for (qreal dpr : {1.0, 2.0}) {
        for (int reel = 0; reel < 3; ++reel) {
            for (int frame = 1; frame < frames; frame += 2)
                QTest::addRow("reel %d frame %d at %gx", reel + 1, frame, dpr) << dpr << reel << frame;
        }
    }
}

void TestPictures::inBetweenFramesAreHalvesOfTheirNeighbours()
{
    QFETCH(qreal, dpr);
    QFETCH(int, reel);
    QFETCH(int, frame);

    const auto image = [&](int f) { return pictures::reelFrame(frames * reel + f % frames, dpr).toImage(); };
    // The strip runs downwards: the next symbol's lower half enters at the
    // top, the last symbol's upper half leaves at the bottom.
    QCOMPARE(half(image(frame), true), half(image(frame + 1), false));
    QCOMPARE(half(image(frame), false), half(image(frame - 1), true));
}

void TestPictures::equalFramesAreOnePicture_data()
{
    QTest::addColumn<qreal>("dpr");
    QTest::newRow("1x") << 1.0;
    QTest::newRow("2x") << 2.0;
}

void TestPictures::equalFramesAreOnePicture()
{
    QFETCH(qreal, dpr);

    for (int i = 0; i < 3 * frames; ++i) {
        const QImage first = pictures::reelFrame(i, dpr).toImage();
        for (int j = i + 1; j < 3 * frames; ++j) {
            const bool same = shows(i / frames, i % frames) == shows(j / frames, j % frames);
            if ((first == pictures::reelFrame(j, dpr).toImage()) != same)
                QFAIL(qPrintable(u"pictures %1 (%2) and %3 (%4) should %5"_s.arg(i).arg(shows(i / frames, i % frames))
                                     .arg(j).arg(shows(j / frames, j % frames), same ? u"be equal"_s : u"differ"_s)));
        }
    }
}

void TestPictures::symbolsSitCentredOnWhite_data()
{
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<int>("index");
    // Reel 1 carries all four symbols: "a", "c", "b", "d" on frames 0, 2, 4, 8.
    for (qreal dpr : {1.0, 2.0}) {
        for (int frame : {0, 2, 4, 8})
            QTest::addRow("%c at %gx", strips[0][frame / 2], dpr) << dpr << frame;
    }
}

void TestPictures::symbolsSitCentredOnWhite()
{
    QFETCH(qreal, dpr);
    QFETCH(int, index);

    const QImage image = pictures::reelFrame(index, dpr).toImage();
    const QRect box = ink(image);
    QVERIFY(!box.isEmpty());
    // White all round, so that neighbours on the strip never touch.
    QVERIFY2(box.top() > 0 && box.left() > 0 && box.right() < image.width() - 1 && box.bottom() < image.height() - 1,
             qPrintable(u"ink reaches the edge: %1,%2 %3x%4"_s.arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    const QPointF offset = QRectF(box).center() - QRectF(image.rect()).center();
    QVERIFY2(qAbs(offset.x()) <= 1.5 * dpr && qAbs(offset.y()) <= 1.5 * dpr,
             qPrintable(u"off centre by %1, %2"_s.arg(offset.x()).arg(offset.y())));
}

void TestPictures::portraitsAreGreyscaleButOsuzu()
{
    constexpr int osuzu = 4;
    for (int k = 0; k < pictures::portraitCount; ++k) {
        const QImage image = pictures::portrait(k, 1.0).toImage();
        bool coloured = false;
        for (int y = 0; y < image.height() && !coloured; ++y) {
            for (int x = 0; x < image.width() && !coloured; ++x) {
                const QRgb c = image.pixel(x, y);
                coloured = qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
            }
        }
        QVERIFY2(coloured == (k == osuzu), qPrintable(u"portrait %1"_s.arg(k)));
    }
}

void TestPictures::logoAndIconHaveATransparentGround()
{
    for (const QImage &image : {pictures::logo(1.0).toImage(), pictures::logo(2.0).toImage(),
                                pictures::windowIcon().pixmap(32).toImage()}) {
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
        // ... and a figure on it.
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }
}

void TestPictures::windowIconComesInEveryDesktopSize()
{
    const QList<QSize> sizes = pictures::windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

void TestPictures::pictureFilesShowAsPngFilesDid_data()
{
    QTest::addColumn<QImage>("picture");
    QImage opaque(40, 30, QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QImage seeThrough(40, 30, QImage::Format_ARGB32_Premultiplied);
    seeThrough.fill(Qt::transparent);
    {
        // Every level of alpha, over colours that lose bits when premultiplied.
        QPainter painter(&opaque);
        QPainter glass(&seeThrough);
        for (int x = 0; x < 40; ++x) {
            painter.fillRect(x, 0, 1, 30, QColor::fromHsv(x * 9, 200, 40 + x * 5));
            for (int y = 0; y < 30; ++y)
                glass.fillRect(x, y, 1, 1, QColor(255 - x * 6, y * 8, 77, (x * 30 + y) % 256));
        }
    }
    QTest::newRow("opaque") << opaque;
    QTest::newRow("with see-through parts") << seeThrough;
}

void TestPictures::pictureFilesShowAsPngFilesDid()
{
    // Guards against pictures that change when their form changes: the game
    // showed PNG files before, and each picture must show as it did then,
    // pixel for pixel, half-transparent edges included.
    QFETCH(QImage, picture);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "png"));
    const QImage fromPng = QPixmap::fromImage(QImage::fromData(png, "png")).toImage();

    const QImage fromFile = picturefile::decode(picturefile::encode(picture));
    QCOMPARE(fromFile.format(), fromPng.format());
    QCOMPARE(QPixmap::fromImage(fromFile).toImage(), fromPng);
}

void TestPictures::damagedPictureFilesReadAsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QByteArray good = picturefile::encode(image);
    QVERIFY(!picturefile::decode(good).isNull());
    const auto withHeaderWord = [&](int word, quint32 value) {
        QByteArray bytes = good;
        std::memcpy(bytes.data() + 4 * word, &value, sizeof value);
        return bytes;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header cut short") << good.left(10);
    QTest::newRow("not one of ours") << QByteArray("PNG!").append(good.mid(4));
    QTest::newRow("pixels cut short") << good.chopped(4);
    QTest::newRow("bytes left over") << good + QByteArray(4, 0);
    QTest::newRow("no width") << withHeaderWord(1, 0);
    QTest::newRow("absurd height") << withHeaderWord(2, 0x40000000);
    QTest::newRow("a form no pixmap keeps") << withHeaderWord(3, QImage::Format_RGB888);
}

void TestPictures::damagedPictureFilesReadAsNothing()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(picturefile::decode(bytes).isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
