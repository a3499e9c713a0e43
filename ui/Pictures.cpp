#include "ui/Pictures.h"

#include "rules/Reels.h"
#include "ui/PictureFile.h"

#include <QDir>
#include <QPixmapCache>
#include <QResource>

// The pictures are rendered from assets/ while building and compiled in as
// resources: ":/artwork/<name>.pixels", with "<name>@2x.pixels" for screens at
// twice the pixel density.
static void loadArtwork()
{
    // The library is static: without this call the linker would drop the
    // resources, as nothing else refers to them.
    Q_INIT_RESOURCE(artwork);
}

namespace pictures {
namespace {

void ensureLoaded()
{
    static const bool loaded = (loadArtwork(), true);
    (void)loaded;
}

// Each file is read once: the strips show the same pictures many times over,
// and every window with an icon shows the same icon.
QPixmap loadFile(const QString &path, int scale)
{
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(picturefile::decode(QResource(path).uncompressedData()));
    pixmap.setDevicePixelRatio(scale);
    QPixmapCache::insert(path, pixmap);
    return pixmap;
}

QPixmap load(const QString &name, qreal dpr)
{
    ensureLoaded();
    const int scale = dpr > 1.0 ? 2 : 1;
    return loadFile(QStringLiteral(":/artwork/") + name + (scale == 1 ? QString() : QStringLiteral("@2x"))
                        + QLatin1String(picturefile::suffix),
                    scale);
}

} // namespace

QPixmap reelFrame(int index, qreal dpr)
{
    // Equal frames are one picture, named by the letters they show.
    const int reel = index / reels::framesPerStrip;
    const int frame = index % reels::framesPerStrip;
    if (reels::isSymbolFrame(frame))
        return load(QStringLiteral("reel/") + reels::symbolAt(reel, frame), dpr);
    const auto between = reels::betweenAt(reel, frame);
    return load(QStringLiteral("reel/%1-over-%2").arg(QChar::fromLatin1(between.entering), QChar::fromLatin1(between.leaving)),
                dpr);
}

QPixmap portrait(int visitor, qreal dpr)
{
    return load(QStringLiteral("portrait/%1").arg(visitor, 2, 10, QLatin1Char('0')), dpr);
}

QPixmap logo(qreal dpr)
{
    return load(QStringLiteral("logo"), dpr);
}

QIcon windowIcon()
{
    // Every size that was rendered, so that the desktop picks the sharpest.
    ensureLoaded();
    QIcon icon;
    const QDir icons(QStringLiteral(":/artwork/icon"));
    for (const QString &file : icons.entryList(QDir::Files))
        icon.addPixmap(loadFile(icons.filePath(file), 1));
    return icon;
}

} // namespace pictures
