// Renders the game's pictures from their vector sources at 1x and 2x, writes
// the .qrc that compiles them into the game (in the form of ui/PictureFile.h),
// and the desktop icons.
//
//   suiran_render <assets dir> <out dir> <icon dir> <icon sizes, e.g. 16,32> [contact sheet .png]
//
// The output depends on the sources alone: no time stamps, no random seeds.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include "ui/PictureFile.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::array scales{1, 2};
constexpr QSize reelSize{32, 32};
constexpr QSize logoSize{150, 158};
const QString symbols = QStringLiteral("abcd");

// How an old photograph looks: its own blur, grain and colour.
struct Portrait {
    const char *source;
    QSize size;
    int soften;   // passes of a small blur at 1x
    int grain;    // strength of the film grain, in grey levels
    bool tinted;  // hand-tinted colour instead of greyscale
};

constexpr std::array<Portrait, 11> portraits{{
    {"00-hougen", {80, 91}, 1, 6, false},
    {"01-tachiba", {80, 91}, 0, 5, false},
    {"02-murakumo", {80, 91}, 0, 5, false},
    {"03-iwato", {81, 90}, 0, 5, false},
    {"04-osuzu", {79, 91}, 0, 4, true},
    {"05-yoshikata", {74, 91}, 0, 5, false},
    {"06-hatsune", {80, 91}, 0, 12, false},
    {"07-amagi", {80, 91}, 0, 12, false},
    {"08-kurogane", {80, 90}, 0, 5, false},
    {"09-yasuda", {79, 91}, 0, 5, false},
    {"10-tokiwa", {80, 92}, 0, 5, false},
}};

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "suiran_render: %s\n", qPrintable(why));
    std::exit(1);
}

QImage render(const QString &svg, QSize size)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        fail(QStringLiteral("cannot read ") + svg);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(), QSizeF(size)));
    return image;
}

QImage onWhite(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

// A fixed hash, so that the grain is the same in every build.
int noise(int x, int y, int seed)
{
    quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + quint32(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return int((h ^ (h >> 16)) & 0xff) - 128;
}

QImage soften(const QImage &image)
{
    QImage out = image;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint p(qBound(0, x + dx, image.width() - 1), qBound(0, y + dy, image.height() - 1));
                    const QRgb c = image.pixel(p);
                    r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
                }
            }
            out.setPixel(x, y, qRgb(r / n, g / n, b / n));
        }
    }
    return out;
}

QImage photograph(const QImage &drawing, const Portrait &portrait, int scale, int seed)
{
    QImage image = onWhite(drawing);
    for (int pass = 0; pass < portrait.soften * scale; ++pass)
        image = soften(image);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int grey = qGray(c);
            const int grain = noise(x / scale, y / scale, seed) * portrait.grain / 128;
            // Hand tinting keeps half of the colour over a warm grey print.
            const int r = portrait.tinted ? (qRed(c) + grey + 12) / 2 : grey;
            const int g = portrait.tinted ? (qGreen(c) + grey + 4) / 2 : grey;
            const int b = portrait.tinted ? (qBlue(c) + grey - 8) / 2 : grey;
            image.setPixel(x, y, qRgb(qBound(0, r + grain, 255), qBound(0, g + grain, 255), qBound(0, b + grain, 255)));
        }
    }
    return image;
}

// The strip between two symbols, halfway: the lower half of the entering
// symbol at the top, the upper half of the leaving one at the bottom.
QImage between(const QImage &entering, const QImage &leaving)
{
    const int half = entering.height() / 2;
    QImage image(entering.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), entering, QRect(0, half, entering.width(), half));
    painter.drawImage(QPoint(0, half), leaving, QRect(0, 0, leaving.width(), half));
    return image;
}

class Output {
public:
    // The folder holds only what this run renders: no picture of an earlier
    // build is left to be compiled in.
    explicit Output(const QString &dir) : dir_(dir)
    {
        QDir(dir_).removeRecursively();
        QDir().mkpath(dir_);
    }

    // `name` without extension; at 2x the name gets Qt's "@2x".
    void write(const QString &name, int scale, const QImage &image)
    {
        const QString file = name + (scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale))
                             + QLatin1String(picturefile::suffix);
        const QString path = dir_ + u'/' + file;
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        const QByteArray bytes = picturefile::encode(image);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            fail(QStringLiteral("cannot write ") + path);
        files_.push_back(file);
    }

    static void save(const QString &path, const QImage &image)
    {
        QDir().mkpath(QFileInfo(path).path());
        QImageWriter writer(path, "png");
        if (!writer.write(image))
            fail(QStringLiteral("cannot write ") + path);
    }

    void writeQrc() const
    {
        QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/artwork\">\n";
        for (const QString &file : files_)
            qrc += "  <file>" + file.toUtf8() + "</file>\n";
        qrc += "</qresource>\n</RCC>\n";
        QFile out(dir_ + QStringLiteral("/artwork.qrc"));
        if (!out.open(QIODevice::WriteOnly) || out.write(qrc) != qrc.size())
            fail(QStringLiteral("cannot write the .qrc"));
    }

private:
    QString dir_;
    std::vector<QString> files_;
};

// A Windows icon holding every size, each stored as PNG (the form that
// Windows and Qt read for any size).
void writeIco(const QString &path, const std::vector<QImage> &images)
{
    QByteArray header(6, 0), directory, data;
    qToLittleEndian<quint16>(1, header.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), header.data() + 4);
    quint32 offset = quint32(6 + 16 * images.size());
    for (const QImage &image : images) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "png");
        QByteArray entry(16, 0);
        entry[0] = char(image.width() >= 256 ? 0 : image.width());
        entry[1] = char(image.height() >= 256 ? 0 : image.height());
        qToLittleEndian<quint16>(1, entry.data() + 4);   // colour planes
        qToLittleEndian<quint16>(32, entry.data() + 6);  // bits per pixel
        qToLittleEndian<quint32>(quint32(png.size()), entry.data() + 8);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        offset += quint32(png.size());
        directory += entry;
        data += png;
    }
    QFile out(path);
    const QByteArray ico = header + directory + data;
    if (!out.open(QIODevice::WriteOnly) || out.write(ico) != ico.size())
        fail(QStringLiteral("cannot write ") + path);
}

// Every picture at 1x and 2x on one page, for the README.
void writeContactSheet(const QString &path, const QString &dir, const QList<int> &iconSizes)
{
    constexpr int margin = 12;
    QImage sheet(QSize(1180, 1000), QImage::Format_RGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(13);
    painter.setFont(font);
    int y = margin;
    const auto heading = [&](const QString &text) {
        painter.setPen(Qt::black);
        painter.drawText(margin, y + 12, text);
        y += 20;
    };
    // Shown pixel for pixel, as the game shows them.
    const auto picture = [&](const QString &name) {
        QFile file(dir + u'/' + name + QLatin1String(picturefile::suffix));
        const QImage image = picturefile::decode(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        if (image.isNull())
            fail(QStringLiteral("cannot read ") + file.fileName());
        return image;
    };

    // The reel pictures: the four symbols, then every in-between picture.
    QStringList reel;
    for (QChar symbol : symbols)
        reel << QStringLiteral("reel/") + symbol;
    for (QChar top : symbols) {
        for (QChar bottom : symbols) {
            if (top != bottom)
                reel << QStringLiteral("reel/") + top + QStringLiteral("-over-") + bottom;
        }
    }
    heading(QStringLiteral("Reel symbols a-d, then the in-between pictures \"x over y\", at 1x and 2x"));
    for (int scale : scales) {
        const int step = 32 * scale + 6;
        for (int i = 0; i < reel.size(); ++i)
            painter.drawImage(margin + i * step, y, picture(reel[i] + (scale == 1 ? QString() : QStringLiteral("@2x"))));
        y += step;
    }
    y += 6;

    heading(QStringLiteral("Portraits 0-10 at 1x, then at 2x"));
    int x = margin;
    for (int k = 0; k < int(portraits.size()); ++k) {
        painter.drawImage(x, y, picture(QStringLiteral("portrait/%1").arg(k, 2, 10, QLatin1Char('0'))));
        x += 88;
    }
    y += 98;
    x = margin;
    for (int k = 0; k < int(portraits.size()); ++k) {
        const QImage image = picture(QStringLiteral("portrait/%1@2x").arg(k, 2, 10, QLatin1Char('0')));
        if (x + image.width() > sheet.width() - margin) {
            x = margin;
            y += 190;
        }
        painter.drawImage(x, y, image);
        x += 168;
    }
    const int portraitsEnd = y + 190;

    // The logo on the splash window's ground, then the icons.
    y = portraitsEnd + 4;
    heading(QStringLiteral("Splash logo at 1x and 2x; window icon at %1 px")
                .arg([&] {
                    QStringList sizes;
                    for (int size : iconSizes)
                        sizes << QString::number(size);
                    return sizes.join(QStringLiteral(", "));
                }()));
    const QColor splashGround(0xc0, 0xc0, 0xc0);
    painter.fillRect(QRect(margin, y, 150, 158), splashGround);
    painter.drawImage(margin, y, picture(QStringLiteral("logo")));
    painter.fillRect(QRect(margin + 160, y, 300, 316), splashGround);
    painter.drawImage(margin + 160, y, picture(QStringLiteral("logo@2x")));
    x = margin + 480;
    for (int size : iconSizes) {
        painter.drawImage(x, y, picture(QStringLiteral("icon/%1").arg(size)));
        x += size + 10;
    }
    painter.end();
    sheet = sheet.copy(0, 0, sheet.width(), y + 316 + margin);
    Output::save(path, sheet);
}

QList<int> parseSizes(const QString &text)
{
    QList<int> sizes;
    for (const QString &size : text.split(u',')) {
        bool ok = false;
        sizes << size.toInt(&ok);
        if (!ok || sizes.back() <= 0)
            fail(QStringLiteral("bad icon size ") + size);
    }
    return sizes;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only the contact sheet writes text and so needs the fonts of a GUI
    // application; the build does without and stays quiet.
    const bool sheet = argc == 6;
    std::unique_ptr<QCoreApplication> app(sheet ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5 && args.size() != 6)
        fail(QStringLiteral("usage: suiran_render <assets> <out> <icon dir> <icon sizes> [contact sheet]"));
    const QString assets = args[1];
    Output out(args[2]);
    const QString iconDir = args[3];
    const QList<int> iconSizes = parseSizes(args[4]);
    const auto source = [&](const QString &name) { return assets + u'/' + name + QStringLiteral(".svg"); };

    for (int scale : scales) {
        std::array<QImage, 4> symbol;
        for (int s = 0; s < 4; ++s) {
            symbol[s] = onWhite(render(source(QStringLiteral("reel/") + symbols[s]), reelSize * scale));
            out.write(QStringLiteral("reel/") + symbols[s], scale, symbol[s]);
        }
        // Every ordered pair, whichever the strips use: the strips' order
        // lives with the game, and a spare picture costs a few bytes.
        for (int top = 0; top < 4; ++top) {
            for (int bottom = 0; bottom < 4; ++bottom) {
                if (top != bottom)
                    out.write(QStringLiteral("reel/%1-over-%2").arg(symbols[top], symbols[bottom]), scale,
                              between(symbol[top], symbol[bottom]));
            }
        }
        for (int k = 0; k < int(portraits.size()); ++k) {
            const Portrait &p = portraits[k];
            const QImage drawing = render(source(QStringLiteral("portrait/") + QLatin1String(p.source)), p.size * scale);
            out.write(QStringLiteral("portrait/%1").arg(k, 2, 10, QLatin1Char('0')), scale, photograph(drawing, p, scale, k));
        }
        out.write(QStringLiteral("logo"), scale, render(source(QStringLiteral("logo")), logoSize * scale));
    }

    std::vector<QImage> icons;
    for (int size : iconSizes) {
        icons.push_back(render(source(QStringLiteral("icon")), QSize(size, size)));
        out.write(QStringLiteral("icon/%1").arg(size), 1, icons.back());
        Output::save(iconDir + QStringLiteral("/%1.png").arg(size), icons.back());
    }
    writeIco(iconDir + QStringLiteral("/suiranjuku.ico"), icons);
    out.writeQrc();

    if (sheet)
        writeContactSheet(args[5], args[2], iconSizes);
    return 0;
}
