#include "homepage/SqlResultStore.h"

#include "homepage/Clocks.h"
#include "homepage/Metrics.h"
#include "homepage/SqlConnection.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <map>
#include <vector>

#include <sys/stat.h>
#include <sys/statvfs.h>

using namespace Qt::StringLiterals;

namespace {

// An entry with what its rank is counted from: the shown entries of fewer
// days. A hidden entry has no place, so no rank.
const QString entryColumns = u"r.id, r.name, r.days, r.place, r.registered, "
                              "(SELECT COALESCE(SUM(c.shown), 0) FROM day_counts c WHERE c.days < r.days), r.code "
                              "FROM results r "_s;
const QString entryById = u"SELECT "_s + entryColumns + u"WHERE r.id = ?"_s;
const QString entryByNameAndCode = u"SELECT "_s + entryColumns + u"WHERE r.name = ? AND r.code = ?"_s;
const QString entryByWithdrawal = u"SELECT "_s + entryColumns + u"WHERE r.withdrawal = ?"_s;
const QString recentEntries = u"SELECT "_s + entryColumns
    + u"WHERE r.name LIKE ? ESCAPE '\\' ORDER BY r.id DESC LIMIT ?"_s;
const QString countIn = u"INSERT INTO day_counts (days, arrivals, shown, latest) VALUES (?, 1, 1, ?) "
                         "ON CONFLICT (days) DO UPDATE SET arrivals = day_counts.arrivals + 1, "
                         "shown = day_counts.shown + 1, latest = %1(day_counts.latest, excluded.latest) "
                         "RETURNING arrivals, shown, latest"_s;
const QString insertEntry = u"INSERT INTO results (name, code, days, arrival, place, registered, withdrawal) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (name, code) DO NOTHING RETURNING id"_s;
// The new entry comes back with its rank in the same round trip: the entries
// of fewer days are read as the statement began, which its own count (of its
// days) does not touch.
const QString countedEntry = u"WITH counted AS (%1) "
                              "INSERT INTO results (name, code, days, arrival, place, registered, withdrawal) "
                              "SELECT ?, ?, ?, arrivals, shown, latest, ? FROM counted "
                              "RETURNING id, name, days, place, registered, "
                              "(SELECT COALESCE(SUM(c.shown), 0) FROM day_counts c WHERE c.days < ?)"_s;
const QString allCounts = u"SELECT days, shown FROM day_counts WHERE shown > 0 ORDER BY days"_s;
const QString entriesFrom = u"SELECT id, name, days, place, registered FROM results "
                             "WHERE (days, place) >= (?, ?) AND place IS NOT NULL ORDER BY days, place LIMIT ?"_s;
const QString version = u"SELECT version FROM schema_version"_s;
// A write that, committed, changes nothing: there and back in one
// transaction, since SQLite writes no page that a statement leaves the same.
const QString touchVersion[] = {u"UPDATE schema_version SET version = version + 1"_s,
                                u"UPDATE schema_version SET version = version - 1"_s};

// Moving places: the count row is written first, which is what orders every
// writer of one days value's places (see Schema.cpp). The places that move go
// through negative numbers, so that no two entries share one on the way.
const QString changeShown = u"UPDATE day_counts SET shown = shown + ? WHERE days = ?"_s;
const QString placeOf = u"SELECT days, place, arrival FROM results WHERE id = ?"_s;
const QString setPlace = u"UPDATE results SET place = ? WHERE id = ?"_s;
const QString closeUp = u"UPDATE results SET place = 1 - place WHERE days = ? AND place > ?"_s;
const QString openUp = u"UPDATE results SET place = -1 - place WHERE days = ? AND place >= ?"_s;
const QString settle = u"UPDATE results SET place = -place WHERE days = ? AND place < 0"_s;
const QString placeByArrival = u"SELECT COUNT(*) + 1 FROM results "
                                "WHERE days = ? AND arrival < ? AND place IS NOT NULL"_s;
const QString daysByWithdrawal = u"SELECT id, days FROM results WHERE withdrawal = ?"_s;
const QString usedToken = u"SELECT withdrawn FROM withdrawn WHERE token = ?"_s;
const QString deleteEntry = u"DELETE FROM results WHERE id = ?"_s;
const QString useToken = u"INSERT INTO withdrawn (token, withdrawn) VALUES (?, ?)"_s;
// An unhiding needs no reason.
const QString logAction = u"INSERT INTO moderation (at, actor, action, entry, reason) "
                           "VALUES (?, ?, ?, ?, COALESCE(?, ''))"_s;
const QString actionCounts = u"SELECT action, COUNT(*) FROM moderation GROUP BY action ORDER BY action"_s;
const QString wholeLog = u"SELECT at, actor, action, entry, reason FROM moderation ORDER BY id"_s;

// A text bound as NULL when empty.
QVariant orNull(const QByteArray &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(QString::fromLatin1(text));
}

Entry entryFrom(const QSqlQuery &row, qint64 fewerDays)
{
    return Entry{row.value(0).toLongLong(), row.value(1).toString(), row.value(2).toInt(),
                 fewerDays + row.value(3).toLongLong(), row.value(4).toLongLong()};
}

bool shown(const QSqlQuery &row)
{
    return !row.value(3).isNull();
}

Moderation::Kept keptFrom(const QSqlQuery &row)
{
    return {row.value(0).toLongLong(), row.value(1).toString(), row.value(6).toString(), row.value(2).toInt(),
            shown(row) ? row.value(5).toLongLong() + row.value(3).toLongLong() : 0, row.value(4).toLongLong()};
}

// What a LIKE pattern holds anywhere, its wildcards taken as they are.
QString holding(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', "\\\\"_L1).replace(u'%', "\\%"_L1).replace(u'_', "\\_"_L1);
    return u'%' + escaped + u'%';
}

class SqlResultStore final : public ResultStore, public Moderation {
public:
    SqlResultStore(const Dialect &dialect, const QString &url, const QString &password, const WallClock &clock,
                   Outages outages, Metrics *metrics)
        : dialect_(dialect), url_(url), outages_(outages), metrics_(metrics),
          // Said in messages: never with a password, should the URL hold one.
          shown_(url.contains("://"_L1) ? QUrl(url).toString(QUrl::RemovePassword) : url),
          password_(password), clock_(clock),
          connection_(u"suiran-homepage-%1"_s.arg(++connections)),
          countIn_(countIn.arg(dialect.greatest)), countedEntry_(countedEntry.arg(countIn_)),
          revision_(dialect.revision),
          db_(QSqlDatabase::addDatabase(dialect.driver, connection_))
    {
    }

    ~SqlResultStore() override
    {
        disconnect();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }

    // The first connection: what goes wrong here stops the server. Servers
    // starting at once on a new SQLite file each change its journal and make
    // its tables, and SQLite answers some of that "locked" at once rather
    // than waiting: tried again for as long as a request would wait.
    void open()
    {
        const QDeadlineTimer patience(databasePatience);
        for (;;) {
            try {
                connect();
                return;
            } catch (const StoreError &error) {
                disconnect();
                const bool locked = onFile() && (error.code() == "5"_L1 || error.code() == "6"_L1);
                if (!locked || patience.hasExpired())
                    throw StoreError(u"cannot use the database %1: %2"_s.arg(shown_, error.why()));
                QThread::msleep(20);
            }
        }
    }

    Registration add(const QString &name, const QString &code, int days, const QByteArray &withdrawal) override
    {
        return writing([&] { return withDatabase([&] { return addOnce(name, code, days, withdrawal); }); });
    }

    std::optional<Entry> find(qint64 id) override
    {
        return withDatabase([&] { return findOnce(id); });
    }

    Page page(qint64 offset, int limit) override
    {
        return withDatabase([&] { return pageOnce(offset, limit); });
    }

    std::pair<Withdrawal, std::optional<Entry>> withdrawal(const QByteArray &hash) override
    {
        return withDatabase([&]() -> std::pair<Withdrawal, std::optional<Entry>> {
            QSqlQuery &query = run(entryByWithdrawal, {orNull(hash)});
            if (query.next()) {
                const std::optional<Entry> entry =
                    shown(query) ? std::optional(entryFrom(query, query.value(5).toLongLong())) : std::nullopt;
                query.finish();
                return {Withdrawal::Open, entry};
            }
            query.finish();
            return {usedOnce(hash) ? Withdrawal::Used : Withdrawal::Unknown, std::nullopt};
        });
    }

    Withdrawal withdraw(const QByteArray &hash) override
    {
        return writing([&] { return withDatabase([&] { return withdrawOnce(hash); }); });
    }

    QList<Kept> recent(int count, const QString &nameHolds) override
    {
        return withDatabase([&] {
            QList<Kept> entries;
            QSqlQuery &query = run(recentEntries, {holding(nameHolds), count});
            while (query.next())
                entries.append(keptFrom(query));
            query.finish();
            return entries;
        });
    }

    std::optional<Kept> kept(qint64 id) override
    {
        return withDatabase([&] {
            QSqlQuery &query = run(entryById, {id});
            const std::optional<Kept> entry = query.next() ? std::optional(keptFrom(query)) : std::nullopt;
            query.finish();
            return entry;
        });
    }

    Outcome hide(qint64 id, const QString &reason, const QString &actor) override
    {
        return withDatabase([&] { return moderate(id, false, reason, actor); });
    }

    Outcome unhide(qint64 id, const QString &reason, const QString &actor) override
    {
        return withDatabase([&] { return moderate(id, true, reason, actor); });
    }

    QList<Action> log() override
    {
        return withDatabase([&] {
            QList<Action> actions;
            QSqlQuery &query = run(wholeLog, {});
            while (query.next())
                actions.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                                query.value(3).toLongLong(), query.value(4).toString()});
            query.finish();
            return actions;
        });
    }

    QList<std::pair<QString, qint64>> moderationCounts() override
    {
        return withDatabase([&] {
            QList<std::pair<QString, qint64>> counts;
            QSqlQuery &query = run(actionCounts, {});
            while (query.next())
                counts.append({query.value(0).toString(), query.value(1).toLongLong()});
            query.finish();
            return counts;
        });
    }

    void copyInto(const QString &file) override
    {
        if (dialect_.copyInto.isEmpty())
            throw StoreError(u"a database server is copied with its own tools: pg_dump"_s);
        withDatabase([&] {
            QSqlQuery copy(db_);
            copy.prepare(QString(dialect_.copyInto));
            copy.addBindValue(file);
            if (!copy.exec())
                throw failure(copy.lastError());
        });
    }

    // Whether the database answers, and takes a registration now. That is
    // known without writing while writes go well: on a file, from its file
    // system (mounted read-only, or out of room); on a server, from whether
    // it is read-only (a standby, or set so). Once a write has failed (a
    // full disk, a file over its limit, a server refusing), the check
    // commits a write that changes nothing, until one goes through again.
    bool answers() override
    {
        try {
            return withDatabase([&] {
                if (writesFailing()) {
                    tryWriting();
                    writesFail(false);
                    return true;
                }
                const bool asksServer = !dialect_.refusesWrites.isEmpty();
                QSqlQuery &query = run(asksServer ? QString(dialect_.refusesWrites) : version, {});
                const bool answered = query.next();
                const bool refuses = asksServer && query.value(0).toBool();
                query.finish();
                return answered && !refuses && roomOnDisk();
            });
        } catch (const StoreError &) {
            return false;
        }
    }

    QByteArray revision() override
    {
        return withDatabase([&] { return probe(); });
    }

private:
    // A transaction rolled back unless committed, whatever leaves the scope.
    class Transaction {
    public:
        Transaction(SqlResultStore &store, QLatin1StringView begin) : store_(store)
        {
            store_.plain(begin);
        }
        ~Transaction()
        {
            if (!done_)
                QSqlQuery(store_.db_).exec(u"ROLLBACK"_s);
        }
        void commit()
        {
            store_.plain("COMMIT"_L1);
            done_ = true;
        }

    private:
        SqlResultStore &store_;
        bool done_ = false;
    };

    // Entries of fewer days than each days value, as read under one revision.
    struct Counts {
        QByteArray revision;
        struct Days {
            int days;
            qint64 entries;
            qint64 fewer;
        };
        std::vector<Days> days;   // in order of days
        qint64 total = 0;
    };

    // Runs `work` on a connection, opening one when there is none. Any
    // failure drops the connection, so the next request starts on a fresh
    // one. When the connection turns out to have been lost meanwhile (the
    // server restarted), the work is tried once more on a new one: every
    // piece of work here may be repeated, a registration too, since the same
    // name and code never make two entries.
    template <typename Work>
    auto withDatabase(Work work) -> decltype(work())
    {
        checkFile();
        const bool reused = connected_;
        ensureConnected();
        try {
            return work();
        } catch (const StoreError &error) {
            counted(Metrics::DatabaseErrors);
            disconnect();
            if (!reused || !lostConnection(error))
                throw;
            if (outages_ == Outages::Logged)
                qWarning("lost the connection to the database %s: %s", qPrintable(shown_), error.what());
        }
        ensureConnected();
        try {
            return work();
        } catch (const StoreError &) {
            counted(Metrics::DatabaseErrors);
            disconnect();
            throw;
        }
    }

    // A write, whose failure the health check remembers.
    template <typename Work>
    auto writing(Work work) -> decltype(work())
    {
        try {
            auto done = work();
            writesFail(false);
            return done;
        } catch (const StoreError &) {
            writesFail(true);
            throw;
        }
    }

    // Whether the last registration or withdrawal on this database failed,
    // on any connection of the process: the health check asks on the
    // pages' connection, registrations go on one of their own.
    bool writesFailing() const
    {
        const QMutexLocker lock(&failingMutex);
        return failing.contains(url_);
    }
    void writesFail(bool yes)
    {
        const QMutexLocker lock(&failingMutex);
        if (yes)
            failing.insert(url_);
        else
            failing.remove(url_);
    }

    // A write committed that changes nothing, on a file without waiting for
    // another writer's lock: the health check holds up no page for it. When
    // it fails, the connection goes, and its next one waits as usual.
    void tryWriting()
    {
        const auto wait = [this](std::chrono::milliseconds patience) {
            if (onFile())
                plain(u"PRAGMA busy_timeout = %1"_s.arg(patience.count()));
        };
        wait(std::chrono::milliseconds(0));
        Transaction write(*this, dialect_.beginWrite);
        for (const QString &step : touchVersion)
            plain(step);
        write.commit();
        wait(databasePatience);
    }

    // SQLite writes beside the file: its folder's file system must take
    // writes and have room for a registration and its journal.
    bool roomOnDisk() const
    {
        struct statvfs folder = {};
        if (!onFile()
            || ::statvfs(QFile::encodeName(QFileInfo(db_.databaseName()).absolutePath()).constData(), &folder) != 0)
            return true;
        if (folder.f_flag & ST_RDONLY)
            return false;
        // Some file systems tell no sizes at all.
        return folder.f_blocks == 0 || quint64(folder.f_bavail) * folder.f_frsize >= leastRoom;
    }

    void counted(Metrics::Family family)
    {
        if (metrics_)
            metrics_->count(family);
    }

    bool lostConnection(const StoreError &error) const
    {
        const QString code = error.code();
        for (QLatin1StringView lost : dialect_.connectionLost) {
            if (lost.isEmpty() ? code.isEmpty() : code.startsWith(lost))
                return true;
        }
        return false;
    }

    void ensureConnected()
    {
        if (connected_)
            return;
        if (!retry_.hasExpired())
            throw StoreError(u"the database %1 is not reachable"_s.arg(shown_), {}, StoreError::Logged);
        const bool again = generation_ > 0;
        try {
            connect();
        } catch (const StoreError &error) {
            counted(Metrics::DatabaseErrors);
            disconnect();
            unreachable_ = true;
            retry_.setRemainingTime(reconnectPause);
            throw StoreError(u"cannot reach the database %1: %2 (trying again every %3 ms meanwhile)"_s
                                 .arg(shown_, error.why())
                                 .arg(reconnectPause.count()));
        }
        if (again)
            counted(Metrics::DatabaseReconnects);
        if (unreachable_ && outages_ == Outages::Logged)
            qInfo("the database %s answers again", qPrintable(shown_));
        unreachable_ = false;
    }

    bool onFile() const { return dialect_.driver == "QSQLITE"_L1; }

    // A SQLite file deleted or replaced under the server is noticed: what
    // would be written on is no longer what the next start opens. Nothing
    // more is read or written until the server is started again; said once.
    void checkFile()
    {
        if (!file_)
            return;
        struct stat now = {};
        if (!fileGone_ && ::stat(QFile::encodeName(db_.databaseName()).constData(), &now) == 0
            && now.st_dev == file_->st_dev && now.st_ino == file_->st_ino)
            return;
        const QString why = u"the database file %1 was deleted or replaced while the server ran: nothing is "
                            "stored until the server is started again"_s.arg(db_.databaseName());
        if (!fileGone_ && outages_ == Outages::Logged)
            qWarning("%s", qPrintable(why));
        fileGone_ = true;
        throw StoreError(why, {}, StoreError::Logged);
    }

    void connect()
    {
        openConnection(db_, dialect_, url_, password_);
        prepareSchema(db_, dialect_);
        if (onFile() && !file_) {
            // The file as the first connection found it, tables and all.
            struct stat opened = {};
            if (::stat(QFile::encodeName(db_.databaseName()).constData(), &opened) == 0)
                file_ = opened;
        }
        checkFile();
        // Revisions of an earlier connection mean nothing on this one.
        ++generation_;
        connected_ = true;
    }

    void disconnect()
    {
        connected_ = false;
        // Every query on the connection goes before the connection does.
        statements_.clear();
        db_.close();
    }

    Registration addOnce(const QString &name, const QString &code, int days, const QByteArray &withdrawal)
    {
        if (const std::optional<Entry> entry = insertCounted(name, code, days, withdrawal)) {
            ++commits_;
            // Committed, but to a file that is no longer there: not stored.
            checkFile();
            return {*entry, true};
        }
        QSqlQuery &existing = run(entryByNameAndCode, {name, code});
        next(existing);
        const Entry entry = entryFrom(existing, existing.value(5).toLongLong());
        const bool hidden = !shown(existing);
        existing.finish();
        return {entry, false, hidden};
    }

    // Counts a new entry in and inserts it, committed: the entry with its
    // rank. Nothing when the same name and code are there already; the count
    // stays as it was.
    std::optional<Entry> insertCounted(const QString &name, const QString &code, int days,
                                       const QByteArray &withdrawal)
    {
        const qint64 now = clock_.msecsSinceEpoch();
        if (!dialect_.repeatInOneStatement.isEmpty()) {
            try {
                QSqlQuery &insert = run(countedEntry_, {days, now, name, code, days, orNull(withdrawal), days});
                next(insert);
                const Entry entry = entryFrom(insert, insert.value(5).toLongLong());
                insert.finish();
                return entry;
            } catch (const StoreError &error) {
                if (error.code() != dialect_.repeatInOneStatement)
                    throw;
                return std::nullopt;
            }
        }
        Transaction write(*this, dialect_.beginWrite);
        QSqlQuery &count = run(countIn_, {days, now});
        next(count);
        const qint64 arrival = count.value(0).toLongLong();
        const qint64 place = count.value(1).toLongLong();
        const qint64 registered = count.value(2).toLongLong();
        count.finish();
        QSqlQuery &insert = run(insertEntry, {name, code, days, arrival, place, registered, orNull(withdrawal)});
        const bool inserted = insert.next();
        const qint64 id = inserted ? insert.value(0).toLongLong() : 0;
        insert.finish();
        if (!inserted)
            return std::nullopt;   // rolled back as the transaction goes
        // Read with its rank before the commit: the write lock keeps it as is.
        const std::optional<Entry> entry = findOnce(id);
        if (!entry)
            throw StoreError(u"a new entry vanished before its commit"_s);
        write.commit();
        return entry;
    }

    std::optional<Entry> findOnce(qint64 id)
    {
        QSqlQuery &query = run(entryById, {id});
        std::optional<Entry> entry;
        if (query.next() && shown(query))
            entry = entryFrom(query, query.value(5).toLongLong());
        query.finish();
        return entry;
    }

    Page pageOnce(qint64 offset, int limit)
    {
        Transaction read(*this, dialect_.beginRead);
        const QByteArray seen = probe();
        if (seen != counts_.revision)
            readCounts(seen);
        Page page{counts_.total, {}};
        // The days value and the arrival the page starts at.
        const auto first = std::find_if(counts_.days.cbegin(), counts_.days.cend(), [offset](const Counts::Days &d) {
            return offset < d.fewer + d.entries;
        });
        if (first == counts_.days.cend())
            return page;
        QSqlQuery &rows = run(entriesFrom, {first->days, offset - first->fewer + 1, limit});
        auto days = first;
        while (rows.next()) {
            const int rowDays = rows.value(2).toInt();
            while (days != counts_.days.cend() && days->days != rowDays)
                ++days;
            if (days == counts_.days.cend())
                throw StoreError(u"an entry of %1 days is not counted"_s.arg(rowDays));
            page.entries.append(entryFrom(rows, days->fewer));
        }
        rows.finish();
        read.commit();
        return page;
    }

    void readCounts(const QByteArray &revision)
    {
        counts_ = Counts{revision, {}, 0};
        QSqlQuery &query = run(allCounts, {});
        while (query.next()) {
            const qint64 entries = query.value(1).toLongLong();
            counts_.days.push_back({query.value(0).toInt(), entries, counts_.total});
            counts_.total += entries;
        }
        query.finish();
    }

    // What the database says of its changes, with what it does not count:
    // this connection's own commits, and which connection it is.
    QByteArray probe()
    {
        QSqlQuery &query = run(revision_, {});
        next(query);
        const QByteArray seen = query.value(0).toString().toUtf8();
        query.finish();
        return QByteArray::number(generation_) + ':' + QByteArray::number(commits_) + ':' + seen;
    }

    // A statement, prepared once per connection, run with its values bound.
    QSqlQuery &run(const QString &sql, const QVariantList &values)
    {
        auto found = statements_.find(sql);
        if (found == statements_.end()) {
            QSqlQuery query(db_);
            if (!query.prepare(sql))
                throw failure(query.lastError());
            found = statements_.emplace(sql, std::move(query)).first;
        }
        QSqlQuery &query = found->second;
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        if (!query.exec())
            throw failure(query.lastError());
        return query;
    }

    static void next(QSqlQuery &query)
    {
        if (!query.next())
            throw StoreError(u"a statement answered no row where one was due"_s);
    }

    void plain(const QString &sql)
    {
        QSqlQuery query(db_);
        if (!query.exec(sql))
            throw failure(query.lastError());
    }

    bool usedOnce(const QByteArray &hash)
    {
        QSqlQuery &used = run(usedToken, {orNull(hash)});
        const bool found = used.next();
        used.finish();
        return found;
    }

    // An entry's days value, its place (0 when hidden) and its arrival, read
    // once its count row is taken; nothing when it is not there (any more).
    struct Placed {
        int days;
        qint64 place;
        qint64 arrival;
    };
    std::optional<Placed> lockedPlace(qint64 id)
    {
        QSqlQuery &before = run(placeOf, {id});
        if (!before.next()) {
            before.finish();
            return std::nullopt;
        }
        const int days = before.value(0).toInt();
        before.finish();
        run(changeShown, {0, days});
        QSqlQuery &query = run(placeOf, {id});
        if (!query.next()) {
            query.finish();
            return std::nullopt;
        }
        const Placed placed{days, query.value(1).toLongLong(), query.value(2).toLongLong()};
        query.finish();
        return placed;
    }

    // Takes a shown entry's place away and closes up the places behind it.
    void takePlace(qint64 id, const Placed &placed)
    {
        run(setPlace, {QVariant(QMetaType::fromType<qint64>()), id});
        run(closeUp, {placed.days, placed.place});
        run(settle, {placed.days});
        run(changeShown, {-1, placed.days});
    }

    // Gives a hidden entry back the place its arrival gives it among the
    // shown entries of its days, moving those behind it one down.
    void givePlace(qint64 id, const Placed &placed)
    {
        QSqlQuery &count = run(placeByArrival, {placed.days, placed.arrival});
        next(count);
        const qint64 place = count.value(0).toLongLong();
        count.finish();
        run(openUp, {placed.days, place});
        run(settle, {placed.days});
        run(setPlace, {place, id});
        run(changeShown, {1, placed.days});
    }

    Withdrawal withdrawOnce(const QByteArray &hash)
    {
        Transaction write(*this, dialect_.beginWrite);
        QSqlQuery &query = run(daysByWithdrawal, {orNull(hash)});
        const bool found = query.next();
        const qint64 id = found ? query.value(0).toLongLong() : 0;
        query.finish();
        const std::optional<Placed> placed = found ? lockedPlace(id) : std::nullopt;
        if (!placed)
            return usedOnce(hash) ? Withdrawal::Used : Withdrawal::Unknown;
        if (placed->place > 0)
            takePlace(id, *placed);
        run(deleteEntry, {id});
        run(useToken, {orNull(hash), clock_.msecsSinceEpoch()});
        write.commit();
        ++commits_;
        return Withdrawal::Open;
    }

    Outcome moderate(qint64 id, bool show, const QString &reason, const QString &actor)
    {
        Transaction write(*this, dialect_.beginWrite);
        const std::optional<Placed> placed = lockedPlace(id);
        if (!placed)
            return Outcome::NoSuchEntry;
        if ((placed->place > 0) == show)
            return Outcome::AlreadySo;
        if (show)
            givePlace(id, *placed);
        else
            takePlace(id, *placed);
        run(logAction, {clock_.msecsSinceEpoch(), role(actor), show ? u"unhide"_s : u"hide"_s, id, reason});
        write.commit();
        ++commits_;
        return Outcome::Done;
    }

    // Who the log names: the database's role where it has one.
    QString role(const QString &actor)
    {
        if (dialect_.role.isEmpty())
            return actor;
        QSqlQuery &query = run(QString(dialect_.role), {});
        next(query);
        const QString name = query.value(0).toString();
        query.finish();
        return name;
    }

    static inline std::atomic<int> connections = 0;
    static inline QMutex failingMutex;
    static inline QSet<QString> failing;   // database URLs
    // Free space below which a SQLite file's disk counts as full: a
    // registration takes a few pages of its journal, a checkpoint more.
    static constexpr quint64 leastRoom = 1024 * 1024;

    const Dialect &dialect_;
    const QString url_;
    const Outages outages_;
    Metrics *const metrics_;   // none: nothing counted
    const QString shown_;
    const QString password_;
    const WallClock &clock_;
    const QString connection_;
    const QString countIn_;
    const QString countedEntry_;
    const QString revision_;
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> statements_;
    bool connected_ = false;
    bool unreachable_ = false;        // the last try to connect failed
    QDeadlineTimer retry_{0};         // no new connection is tried before it expires
    qint64 generation_ = 0;           // connections opened so far
    qint64 commits_ = 0;              // registrations committed on this store
    Counts counts_;
    std::optional<struct stat> file_;   // SQLite: the file first opened
    bool fileGone_ = false;
};

} // namespace

std::unique_ptr<ResultStore> openResultStore(const QString &url, const WallClock &clock, const QString &password,
                                             Outages outages, Metrics *metrics)
{
    auto store = std::make_unique<SqlResultStore>(dialectOf(url), url, password, clock, outages, metrics);
    store->open();
    return store;
}

std::unique_ptr<Moderation> openModeration(const QString &url, const WallClock &clock, const QString &password)
{
    auto store = std::make_unique<SqlResultStore>(dialectOf(url), url, password, clock, Outages::Unlogged, nullptr);
    store->open();
    return store;
}

bool databaseServer(const QString &url)
{
    return url.startsWith("postgresql:"_L1);
}

QString defaultDatabaseUrl()
{
    return u"sqlite:"_s + QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/suiranjuku-homepage/results.sqlite"_s;
}
