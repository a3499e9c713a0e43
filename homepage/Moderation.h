#pragma once

#include <QList>
#include <QString>

#include <optional>

// The hall of fame as its publisher keeps it, from the machine it runs on,
// never through the site: every entry, shown or hidden, and a log of what
// was done to which.
class Moderation {
public:
    struct Kept {
        qint64 id = 0;
        QString name;
        QString code;
        int days = 0;
        qint64 rank = 0;   // 0 while hidden
        qint64 registered = 0;
    };
    struct Action {
        qint64 at = 0;   // milliseconds since 1970, UTC
        QString actor;   // the user who ran the command, or the database's role
        QString action;  // "hide", "unhide"
        qint64 entry = 0;
        QString reason;
    };
    enum class Outcome { Done, NoSuchEntry, AlreadySo };

    virtual ~Moderation() = default;

    // The latest `count` entries, newest first; only those whose name holds
    // `nameHolds` when it is not empty.
    virtual QList<Kept> recent(int count, const QString &nameHolds) = 0;
    virtual std::optional<Kept> kept(qint64 id) = 0;
    // Hiding takes the entry off every page and closes up the ranks behind
    // it; unhiding puts it back where its days and arrival place it. Each is
    // logged, under `actor` where the database does not name one itself.
    virtual Outcome hide(qint64 id, const QString &reason, const QString &actor) = 0;
    virtual Outcome unhide(qint64 id, const QString &reason, const QString &actor) = 0;
    // Oldest first.
    virtual QList<Action> log() = 0;
    // Copies the whole database, as it stands when the copy begins, into an
    // empty file that is there already. Throws StoreError where the database
    // has no such copy (a database server: its own tools do that).
    virtual void copyInto(const QString &file) = 0;
};
