#include "homepage/SqlResultStore.h"

#include "homepage/Clocks.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

using namespace Qt::StringLiterals;

namespace {

// How a rank comes from an index rather than from counting the table: every
// entry keeps its `arrival`, its turn among the entries of the same days
// (1, 2, 3 ...), and `day_counts` keeps how many entries each days value has.
// An entry's rank is the sum of the counts of fewer days (at most a thousand
// rows: the days a code carries run from 0 to 999) plus its arrival, and a
// page starts at the (days, arrival) those counts point to, read with a range
// scan of the unique index on (days, arrival). The arrival is taken from the
// count row, under that row's lock, in the transaction that inserts the
// entry, so two servers never give two entries one place. Entries are never
// removed, so arrivals stay 1, 2, 3 ... without gaps.
//
// `latest` in the count row is the latest registration time among that days
// value's entries: a new entry is stamped no earlier than it, so that the
// order of arrival is also the order of registration time even when a
// server's clock is set back.

// What differs between the databases the hall of fame can live in; the rest
// of the SQL is the same for all.
struct Dialect {
    QLatin1StringView scheme;
    QLatin1StringView driver;
    // Points the connection at the database the rest of the URL names, or
    // throws StoreError; run before every connection is opened.
    void (*address)(QSqlDatabase &db, const QString &url, const QString &password);
    QLatin1StringView idColumn;
    QLatin1StringView greatest;   // the larger of two values
    // Statements run once on every new connection, each with the first value
    // it must answer (none to check when empty).
    QList<std::pair<QString, QLatin1StringView>> sessionSetup;
    // A check of the whole file run on connecting, answering "ok"; none when empty.
    QLatin1StringView integrityCheck;
    // Taken before the tables are looked for and created, so that servers
    // starting at once on an empty database create them once; none when
    // beginWrite already keeps other writers out.
    QLatin1StringView schemaLock;
    // A write transaction takes its locks at once, so that two processes on
    // one database wait for each other rather than fail halfway.
    QLatin1StringView beginWrite;
    // The database's code for a broken unique constraint, where a
    // registration's count and entry go in as one statement committed on its
    // own (a round trip to a server costs more than a statement): a repeat of
    // a name and code then undoes the count with the rest. Empty: they go in
    // a transaction of their own (SQLite cannot insert in a WITH).
    QLatin1StringView repeatInOneStatement;
    // A read transaction sees one state of the database throughout.
    QLatin1StringView beginRead;
    // One value that changes whenever another connection commits a change; in
    // a read transaction, the one for what it sees.
    QLatin1StringView revision;
    // The database's codes (or their beginnings) for a connection that is
    // gone, after which a fresh connection is worth one more try. An empty
    // code is the driver's own: the server closed the connection.
    QList<QLatin1StringView> connectionLost;
};

qint64 milliseconds(std::chrono::milliseconds span)
{
    return span.count();
}

void sqliteAddress(QSqlDatabase &db, const QString &url, const QString &)
{
    const QString path = url.mid(url.indexOf(u':') + 1);
    if (path.isEmpty())
        throw StoreError(u"the URL names no file"_s);
    const QFileInfo file(path);
    if (!QDir().mkpath(file.absolutePath()))
        throw StoreError(u"cannot create the folder %1"_s.arg(file.absolutePath()));
    if (file.isDir())
        throw StoreError(u"it is a folder"_s);
    // SQLite would open these read-only without a word and fail only at the
    // first registration.
    if (file.exists() && !file.isWritable())
        throw StoreError(u"the file is read-only"_s);
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw StoreError(u"its folder is read-only"_s);
    db.setDatabaseName(path);
}

void postgresqlAddress(QSqlDatabase &db, const QString &url, const QString &password)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.password().isEmpty() || parsed.userInfo().contains(u':'))
        throw StoreError(u"its URL holds a password: give it in PGPASSWORD or in a file named by "
                          "--database-password-file instead"_s);
    const QString name = parsed.path().mid(1);
    if (!parsed.isValid() || parsed.host().isEmpty() || name.isEmpty() || name.contains(u'/')
        || parsed.hasQuery() || parsed.hasFragment())
        throw StoreError(u"its URL is not of the form postgresql://USER@HOST:PORT/DATABASE"_s);
    db.setHostName(parsed.host());
    db.setPort(parsed.port());
    db.setUserName(parsed.userName());
    db.setDatabaseName(name);
    db.setPassword(password.isEmpty() ? qEnvironmentVariable("PGPASSWORD") : password);
    // A server that does not answer at all holds a request no longer than a
    // statement may take: neither to connect nor to have what is sent taken.
    db.setConnectOptions(u"connect_timeout=%1;tcp_user_timeout=%2;application_name=suiranjuku-homepage"_s
                             .arg(databasePatience.count())
                             .arg(milliseconds(databasePatience)));
}

const Dialect sqlite{
    "sqlite"_L1,
    "QSQLITE"_L1,
    sqliteAddress,
    "INTEGER PRIMARY KEY AUTOINCREMENT"_L1,
    "MAX"_L1,
    {
        // First, so that the others wait for a lock too.
        {u"PRAGMA busy_timeout = %1"_s.arg(milliseconds(databasePatience)), {}},
        {u"PRAGMA journal_mode = WAL"_s, "wal"_L1},
        // Every commit reaches the disk before a registration is answered.
        {u"PRAGMA synchronous = FULL"_s, {}},
    },
    "PRAGMA quick_check"_L1,
    {},
    "BEGIN IMMEDIATE"_L1,
    {},
    "BEGIN"_L1,
    // Counts the commits of other connections only: this one's own are
    // counted by the store.
    "PRAGMA data_version"_L1,
    {},
};

const Dialect postgresql{
    "postgresql"_L1,
    "QPSQL"_L1,
    postgresqlAddress,
    "BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY"_L1,
    "GREATEST"_L1,
    {
        // Notices (a table that is there already) would go to standard error.
        {u"SET client_min_messages = warning"_s, {}},
        {u"SET statement_timeout = %1"_s.arg(milliseconds(databasePatience)), {}},
        // A registration is answered only once its commit is on disk, whatever
        // the server's default.
        {u"SET synchronous_commit = on"_s, {}},
    },
    {},
    // The number is this program's own: any fixed one that nothing else uses.
    "SELECT pg_advisory_xact_lock(1460320)"_L1,
    // Each registration locks its count row by updating it: that orders the
    // writers, so the default isolation is enough.
    "BEGIN"_L1,
    "23505"_L1,
    "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"_L1,
    // Which transactions had ended when the statement (or the read
    // transaction) began: the same text means the same data. Read without
    // touching a table; it also changes with writes to other tables, which
    // costs a page drawn anew, never a stale one.
    "SELECT pg_current_snapshot()::text"_L1,
    // Connection failures, and the server shutting down or starting up.
    {""_L1, "08"_L1, "57P"_L1},
};

const Dialect *const dialects[] = {&sqlite, &postgresql};

const QString schema[] = {
    u"CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"_s,
    u"CREATE TABLE IF NOT EXISTS results ("
     "id %1, "
     "name TEXT NOT NULL, "
     "code TEXT NOT NULL, "
     "days INTEGER NOT NULL, "
     "arrival INTEGER NOT NULL, "
     "registered BIGINT NOT NULL, "
     "UNIQUE (name, code), "
     "UNIQUE (days, arrival))"_s,
    u"CREATE TABLE IF NOT EXISTS day_counts ("
     "days INTEGER PRIMARY KEY, "
     "entries INTEGER NOT NULL, "
     "latest BIGINT NOT NULL)"_s,
};

// An entry with what its rank is counted from: the entries of fewer days.
const QString entryColumns = u"r.id, r.name, r.days, r.arrival, r.registered, "
                              "(SELECT COALESCE(SUM(c.entries), 0) FROM day_counts c WHERE c.days < r.days) "
                              "FROM results r "_s;
const QString entryById = u"SELECT "_s + entryColumns + u"WHERE r.id = ?"_s;
const QString entryByNameAndCode = u"SELECT "_s + entryColumns + u"WHERE r.name = ? AND r.code = ?"_s;
const QString countIn = u"INSERT INTO day_counts (days, entries, latest) VALUES (?, 1, ?) "
                         "ON CONFLICT (days) DO UPDATE SET entries = day_counts.entries + 1, "
                         "latest = %1(day_counts.latest, excluded.latest) "
                         "RETURNING entries, latest"_s;
const QString insertEntry = u"INSERT INTO results (name, code, days, arrival, registered) "
                             "VALUES (?, ?, ?, ?, ?) ON CONFLICT (name, code) DO NOTHING RETURNING id"_s;
// The new entry comes back with its rank in the same round trip: the entries
// of fewer days are read as the statement began, which its own count (of its
// days) does not touch.
const QString countedEntry = u"WITH counted AS (%1) INSERT INTO results (name, code, days, arrival, registered) "
                              "SELECT ?, ?, ?, entries, latest FROM counted "
                              "RETURNING id, name, days, arrival, registered, "
                              "(SELECT COALESCE(SUM(c.entries), 0) FROM day_counts c WHERE c.days < ?)"_s;
const QString allCounts = u"SELECT days, entries FROM day_counts ORDER BY days"_s;
const QString entriesFrom = u"SELECT id, name, days, arrival, registered FROM results "
                             "WHERE (days, arrival) >= (?, ?) ORDER BY days, arrival LIMIT ?"_s;
const QString version = u"SELECT version FROM schema_version"_s;

StoreError failure(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return StoreError(text.simplified(), error.nativeErrorCode());
}

Entry entryFrom(const QSqlQuery &row, qint64 fewerDays)
{
    return Entry{row.value(0).toLongLong(), row.value(1).toString(), row.value(2).toInt(),
                 fewerDays + row.value(3).toLongLong(), row.value(4).toLongLong()};
}

class SqlResultStore final : public ResultStore {
public:
    SqlResultStore(const Dialect &dialect, const QString &url, const QString &password, const WallClock &clock,
                   Outages outages)
        : dialect_(dialect), url_(url), outages_(outages),
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

    Registration add(const QString &name, const QString &code, int days) override
    {
        return withDatabase([&] { return addOnce(name, code, days); });
    }

    std::optional<Entry> find(qint64 id) override
    {
        return withDatabase([&] { return findOnce(id); });
    }

    Page page(qint64 offset, int limit) override
    {
        return withDatabase([&] { return pageOnce(offset, limit); });
    }

    bool answers() override
    {
        try {
            return withDatabase([&] {
                QSqlQuery &query = run(version, {});
                const bool answered = query.next();
                query.finish();
                return answered;
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
            disconnect();
            throw;
        }
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
        try {
            connect();
        } catch (const StoreError &error) {
            disconnect();
            unreachable_ = true;
            retry_.setRemainingTime(reconnectPause);
            throw StoreError(u"cannot reach the database %1: %2 (trying again every %3 ms meanwhile)"_s
                                 .arg(shown_, error.why())
                                 .arg(reconnectPause.count()));
        }
        if (unreachable_ && outages_ == Outages::Logged)
            qInfo("the database %s answers again", qPrintable(shown_));
        unreachable_ = false;
    }

    bool onFile() const { return &dialect_ == &sqlite; }

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
        dialect_.address(db_, url_, password_);
        if (!db_.open())
            throw failure(db_.lastError());
        for (const auto &[sql, answer] : dialect_.sessionSetup)
            expect(sql, answer);
        if (!dialect_.integrityCheck.isEmpty())
            expect(dialect_.integrityCheck, "ok"_L1);
        createSchema();
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

    Registration addOnce(const QString &name, const QString &code, int days)
    {
        if (const std::optional<Entry> entry = insertCounted(name, code, days)) {
            ++commits_;
            // Committed, but to a file that is no longer there: not stored.
            checkFile();
            return {*entry, true};
        }
        QSqlQuery &existing = run(entryByNameAndCode, {name, code});
        next(existing);
        const Entry entry = entryFrom(existing, existing.value(5).toLongLong());
        existing.finish();
        return {entry, false};
    }

    // Counts a new entry in and inserts it, committed: the entry with its
    // rank. Nothing when the same name and code are there already; the count
    // stays as it was.
    std::optional<Entry> insertCounted(const QString &name, const QString &code, int days)
    {
        const qint64 now = clock_.msecsSinceEpoch();
        if (!dialect_.repeatInOneStatement.isEmpty()) {
            try {
                QSqlQuery &insert = run(countedEntry_, {days, now, name, code, days, days});
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
        const qint64 registered = count.value(1).toLongLong();
        count.finish();
        QSqlQuery &insert = run(insertEntry, {name, code, days, arrival, registered});
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
        if (query.next())
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

    void expect(const QString &sql, QLatin1StringView answer)
    {
        QSqlQuery query(db_);
        if (!query.exec(sql))
            throw failure(query.lastError());
        if (!answer.isEmpty() && (!query.next() || query.value(0).toString() != answer))
            throw StoreError(u"%1 answered \"%2\", not \"%3\""_s.arg(sql, query.value(0).toString(), answer));
    }

    void createSchema()
    {
        Transaction write(*this, dialect_.beginWrite);
        if (!dialect_.schemaLock.isEmpty())
            plain(dialect_.schemaLock);
        for (const QString &table : schema)
            plain(QString(table).replace("%1"_L1, dialect_.idColumn));
        QSqlQuery found(db_);
        if (!found.exec(version))
            throw failure(found.lastError());
        if (!found.next()) {
            QSqlQuery insert(db_);
            insert.prepare(u"INSERT INTO schema_version (version) VALUES (?)"_s);
            insert.addBindValue(schemaVersion);
            if (!insert.exec())
                throw failure(insert.lastError());
        } else if (const int number = found.value(0).toInt(); number != schemaVersion) {
            // No older version exists yet to bring up to date.
            throw StoreError(u"its tables are of version %1, this program knows version %2"_s
                                 .arg(number)
                                 .arg(schemaVersion));
        }
        found.finish();
        write.commit();
    }

    static inline std::atomic<int> connections = 0;

    const Dialect &dialect_;
    const QString url_;
    const Outages outages_;
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
                                             Outages outages)
{
    const qsizetype colon = url.indexOf(u':');
    const QStringView scheme = QStringView(url).first(std::max<qsizetype>(colon, 0));
    for (const Dialect *dialect : dialects) {
        if (colon <= 0 || scheme != dialect->scheme)
            continue;
        auto store = std::make_unique<SqlResultStore>(*dialect, url, password, clock, outages);
        store->open();
        return store;
    }
    throw StoreError(u"unknown kind of database URL: %1 (use sqlite:PATH or postgresql://USER@HOST:PORT/DATABASE)"_s
                         .arg(url));
}

bool databaseServer(const QString &url)
{
    return url.startsWith(postgresql.scheme + u':');
}

QString defaultDatabaseUrl()
{
    return u"sqlite:"_s + QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/suiranjuku-homepage/results.sqlite"_s;
}
