#pragma once

#include "rules/Seams.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <optional>

// Warnings a client can cause again and again (connections refused, a
// database that keeps failing) go to the log at most once a minute each:
// the repeats in between are counted and said with the next one written.
// Safe to use from any thread.
class WarningThrottle {
public:
    explicit WarningThrottle(const Clock &clock);

    // What to write for this warning now: its text, with how many times it
    // came since it was last written; nothing within a minute of that.
    std::optional<QString> pass(const QString &text);

private:
    struct Seen {
        Clock::time_point written;
        int repeats = 0;
    };
    const Clock &clock_;
    QMutex mutex_;
    QHash<QString, Seen> seen_;
};
