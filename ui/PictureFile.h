#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <cstring>

// How the pictures are compiled into the game: each one's pixels exactly as a
// pixmap holds them on screen (32 bits a pixel, rows without padding), after a
// small header. Loading a picture is then one copy, with no decompression and
// no image plug-in to look for; the build's renderer writes them
// (tools/artwork), the game reads them (Pictures.cpp). Both run on machines of
// the same byte order, the renderer being part of the build.
namespace picturefile {

inline constexpr char suffix[] = ".pixels";

struct Header {
    char magic[4];
    quint32 width;
    quint32 height;
    quint32 format;   // QImage::Format_RGB32 or QImage::Format_ARGB32_Premultiplied
};
inline constexpr char magic[4] = {'S', 'R', 'P', 'X'};

// The form a pixmap keeps the image in: opaque pictures as they are; the
// others with 8-bit straight alpha first, as a picture file holds them, then
// premultiplied, as the raster engine draws them.
inline QImage shownForm(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    return image.convertToFormat(QImage::Format_ARGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

inline QByteArray encode(const QImage &picture)
{
    const QImage image = shownForm(picture);
    const Header header{{magic[0], magic[1], magic[2], magic[3]}, quint32(image.width()), quint32(image.height()),
                        quint32(image.format())};
    QByteArray bytes(reinterpret_cast<const char *>(&header), sizeof header);
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    return bytes;
}

// A null image for anything that is not such a picture.
inline QImage decode(QByteArrayView bytes)
{
    Header header;
    if (bytes.size() < qsizetype(sizeof header))
        return {};
    std::memcpy(&header, bytes.data(), sizeof header);
    const auto format = QImage::Format(header.format);
    const qsizetype rowBytes = qsizetype(header.width) * 4;
    if (std::memcmp(header.magic, magic, sizeof magic) != 0
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || header.width == 0 || header.width > 4096 || header.height == 0 || header.height > 4096
        || bytes.size() != qsizetype(sizeof header) + rowBytes * header.height)
        return {};
    QImage image(int(header.width), int(header.height), format);
    const char *row = bytes.data() + sizeof header;
    for (int y = 0; y < image.height(); ++y, row += rowBytes)
        std::memcpy(image.scanLine(y), row, size_t(rowBytes));
    return image;
}

} // namespace picturefile
