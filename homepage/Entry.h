#pragma once

#include <QString>

// One registered result as the hall of fame shows it.
struct Entry {
    qint64 id = 0;
    QString name;
    int days = 0;
    qint64 rank = 0;         // 1 for the fewest days, earliest registration
    qint64 registered = 0;   // milliseconds since 1970, UTC
};
