#pragma once

#include "homepage/Entry.h"

#include <QByteArray>
#include <QList>

#include <optional>
#include <stdexcept>
#include <utility>

// The hall of fame as the site sees it. Ranked by days, fewer first; equal
// days by registration, earlier first.
class ResultStore {
public:
    struct Registration {
        Entry entry;
        bool created;   // false: the same name and code were there already
        bool hidden = false;   // there already, and hidden by the publisher
    };
    // What a withdrawal link stands for.
    enum class Withdrawal { Open, Used, Unknown };
    struct Page {
        qint64 total;
        QList<Entry> entries;   // in rank order
    };

    virtual ~ResultStore() = default;

    // Registers a checked name and code; only once a new entry is durably
    // committed does this return it. `withdrawal`, the hash of the token that
    // withdraws the entry, is kept with a new entry only.
    virtual Registration add(const QString &name, const QString &code, int days,
                             const QByteArray &withdrawal = {}) = 0;
    virtual std::optional<Entry> find(qint64 id) = 0;
    // Up to `limit` entries from rank offset + 1 on.
    virtual Page page(qint64 offset, int limit) = 0;
    // What the token with this hash withdraws: the entry while it is there.
    virtual std::pair<Withdrawal, std::optional<Entry>> withdrawal(const QByteArray &hash) = 0;
    // Deletes the entry the token's hash names, closing up the ranks behind
    // it: Open when it is done now; the token answers Used from then on.
    virtual Withdrawal withdraw(const QByteArray &hash) = 0;
    // Whether the database answers, and would take a registration now.
    virtual bool answers() = 0;
    // A mark that stays the same only as long as nothing in the hall of fame
    // has changed, whichever server changed it; asked before every page, so
    // it is cheap.
    virtual QByteArray revision() = 0;
    // How many of each moderation action (hide, unhide) the hall of fame's
    // log holds, whichever process made them; none where no log is kept.
    virtual QList<std::pair<QString, qint64>> moderationCounts() { return {}; }
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
