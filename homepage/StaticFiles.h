#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The style sheet and the pictures, compiled in under :/static/ and served
// under /static/.
class StaticFiles {
public:
    struct File {
        QByteArray bytes;
        QByteArray type;
        QString version;   // from the bytes: changes whenever they do
    };

    StaticFiles();

    const File *find(const QString &name) const;
    // The address pages link a file by: a new one whenever the file changes,
    // so browsers may keep each for a year.
    QString url(const QString &name) const;

private:
    QHash<QString, File> files_;
};
