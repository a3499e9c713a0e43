#include "ui/Pictures.h"

#include "game/Reels.h"

#include <QPainter>

// Stand-in pictures until the artwork is drawn: each frame shows its letters.
namespace pictures {
namespace {

QPixmap canvas(QSize size, qreal dpr, const QColor &ground)
{
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(ground);
    return pixmap;
}

} // namespace

QPixmap reelFrame(int index, qreal dpr)
{
    const int reel = index / reels::framesPerStrip;
    const int frame = index % reels::framesPerStrip;
    QPixmap pixmap = canvas({32, 32}, dpr, Qt::white);
    QPainter painter(&pixmap);
    if (reels::isSymbolFrame(frame)) {
        painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, reels::symbolAt(reel, frame));
    } else {
        const auto between = reels::betweenAt(reel, frame);
        painter.drawText(QRect(0, 0, 32, 16), Qt::AlignCenter, QString(QChar::fromLatin1(between.entering)));
        painter.drawText(QRect(0, 16, 32, 16), Qt::AlignCenter, QString(QChar::fromLatin1(between.leaving)));
    }
    return pixmap;
}

QPixmap portrait(int visitor, qreal dpr)
{
    static const QSize sizes[portraitCount] = {{80, 91}, {80, 91}, {80, 91}, {81, 90}, {79, 91}, {74, 91},
                                               {80, 91}, {80, 91}, {80, 90}, {79, 91}, {80, 92}};
    QPixmap pixmap = canvas(sizes[visitor], dpr, Qt::gray);
    QPainter painter(&pixmap);
    painter.drawText(QRect(QPoint(), sizes[visitor]), Qt::AlignCenter, QString::number(visitor));
    return pixmap;
}

QPixmap logo(qreal dpr)
{
    QPixmap pixmap = canvas({150, 158}, dpr, Qt::transparent);
    QPainter painter(&pixmap);
    painter.setBrush(QColor(0x20, 0x30, 0x70));
    painter.drawEllipse(QRect(35, 20, 80, 118));
    return pixmap;
}

QIcon windowIcon()
{
    return QIcon(reelFrame(0, 1.0));
}

} // namespace pictures
