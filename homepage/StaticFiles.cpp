#include "homepage/StaticFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

const QHash<QString, QByteArray> types{
    {u"css"_s, "text/css; charset=utf-8"_ba},
    {u"svg"_s, "image/svg+xml; charset=utf-8"_ba},
};

} // namespace

StaticFiles::StaticFiles()
{
    for (QDirIterator it(u":/static"_s, QDir::Files); it.hasNext();) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        const QString name = it.fileName();
        const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        files_.insert(name, File{bytes, types.value(name.section(u'.', -1), "application/octet-stream"_ba),
                                 QString::fromLatin1(hash.left(12))});
    }
}

const StaticFiles::File *StaticFiles::find(const QString &name) const
{
    const auto found = files_.constFind(name);
    return found == files_.constEnd() ? nullptr : &*found;
}

QString StaticFiles::url(const QString &name) const
{
    const File *file = find(name);
    Q_ASSERT(file);
    return u"/static/"_s + name + u"?v="_s + (file ? file->version : QString());
}
