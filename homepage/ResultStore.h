#pragma once

#include "homepage/Entry.h"

#include <QByteArray>
#include <QList>

#include <optional>
#include <stdexcept>

// The hall of fame as the site sees it. Ranked by days, fewer first; equal
// days by registration, earlier first.
class ResultStore {
public:
    struct Registration {
        Entry entry;
        bool created;   // false: the same name and code were there already
    };
    struct Page {
        qint64 total;
        QList<Entry> entries;   // in rank order
    };

    virtual ~ResultStore() = default;

    // Registers a checked name and code; only once a new entry is durably
    // committed does this return it.
    virtual Registration add(const QString &name, const QString &code, int days) = 0;
    virtual std::optional<Entry> find(qint64 id) = 0;
    // Up to `limit` entries from rank offset + 1 on.
    virtual Page page(qint64 offset, int limit) = 0;
    // Whether the database answers at all.
    virtual bool answers() = 0;
    // A mark that stays the same only as long as nothing in the hall of fame
    // has changed, whichever server changed it; asked before every page, so
    // it is cheap.
    virtual QByteArray revision() = 0;
};

// The database cannot be opened, read or written. The text is one line, for
// a person; `code` is the database's own code for the error, if any.
class StoreError : public std::runtime_error {
public:
    enum Logging { ToLog, Logged };
    explicit StoreError(const QString &why, const QString &code = {}, Logging logging = ToLog)
        : std::runtime_error(why.toStdString()), code_(code), logging_(logging)
    {
    }
    QString why() const { return QString::fromStdString(what()); }
    QString code() const { return code_; }
    // Whether the store has already said so in the log (an outage goes there
    // once, not once a request).
    bool logged() const { return logging_ == Logged; }

private:
    QString code_;
    Logging logging_;
};
