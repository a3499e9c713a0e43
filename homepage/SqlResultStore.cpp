#include "homepage/SqlResultStore.h"

#include "homepage/Clocks.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <map>

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
    QLatin1StringView idColumn;
    QLatin1StringView greatest;   // the larger of two values
    // Statements run once on every new connection, each with the first value
    // it must answer (none to check when empty).
    QList<std::pair<QLatin1StringView, QLatin1StringView>> sessionSetup;
    // A check of the whole file run once at start, answering "ok"; none when empty.
    QLatin1StringView integrityCheck;
    // A write transaction takes its locks at once, so that two processes on
    // one database wait for each other rather than fail halfway.
    QLatin1StringView beginWrite;
    QLatin1StringView beginRead;
};

const Dialect sqlite{
    "sqlite"_L1,
    "QSQLITE"_L1,
    "INTEGER PRIMARY KEY AUTOINCREMENT"_L1,
    "MAX"_L1,
    {
        // First, so that the others wait for a lock too.
        {"PRAGMA busy_timeout = 5000"_L1, {}},
        {"PRAGMA journal_mode = WAL"_L1, "wal"_L1},
        // Every commit reaches the disk before a registration is answered.
        {"PRAGMA synchronous = FULL"_L1, {}},
    },
    "PRAGMA quick_check"_L1,
    "BEGIN IMMEDIATE"_L1,
    "BEGIN"_L1,
};

const Dialect *const dialects[] = {&sqlite};

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
const QString allCounts = u"SELECT days, entries FROM day_counts ORDER BY days"_s;
const QString entriesFrom = u"SELECT id, name, days, arrival, registered FROM results "
                             "WHERE (days, arrival) >= (?, ?) ORDER BY days, arrival LIMIT ?"_s;

QString oneLine(const QSqlError &error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.simplified();
}

Entry entryFrom(const QSqlQuery &row, qint64 fewerDays)
{
    return Entry{row.value(0).toLongLong(), row.value(1).toString(), row.value(2).toInt(),
                 fewerDays + row.value(3).toLongLong(), row.value(4).toLongLong()};
}

class SqlResultStore final : public ResultStore {
public:
    SqlResultStore(const Dialect &dialect, const WallClock &clock)
        : dialect_(dialect), clock_(clock),
          connection_(u"suiran-homepage-%1"_s.arg(++connections)),
          countIn_(countIn.arg(dialect.greatest))
    {
    }

    ~SqlResultStore() override
    {
        // Every query on the connection goes before the connection does.
        statements_.clear();
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }

    void open(const QString &url, const QString &target)
    {
        db_ = QSqlDatabase::addDatabase(dialect_.driver, connection_);
        db_.setDatabaseName(target);
        if (!db_.open())
            throw StoreError(u"cannot open the database %1: %2"_s.arg(url, oneLine(db_.lastError())));
        try {
            for (const auto &[sql, answer] : dialect_.sessionSetup)
                expect(sql, answer);
            if (!dialect_.integrityCheck.isEmpty())
                expect(dialect_.integrityCheck, "ok"_L1);
            createSchema();
        } catch (const StoreError &error) {
            throw StoreError(u"the database %1 cannot be used: %2"_s.arg(url, error.why()));
        }
    }

    Registration add(const QString &name, const QString &code, int days) override
    {
        {
            Transaction write(*this, dialect_.beginWrite);
            QSqlQuery &count = run(countIn_, {days, clock_.msecsSinceEpoch()});
            next(count);
            const qint64 arrival = count.value(0).toLongLong();
            const qint64 registered = count.value(1).toLongLong();
            count.finish();
            QSqlQuery &insert = run(insertEntry, {name, code, days, arrival, registered});
            if (insert.next()) {
                const qint64 id = insert.value(0).toLongLong();
                insert.finish();
                write.commit();
                // Read back with its rank, now that it is committed.
                if (std::optional<Entry> entry = find(id))
                    return {*entry, true};
                throw StoreError(u"a new entry vanished after its commit"_s);
            }
            insert.finish();
            // The same name and code are there already: the count goes back.
        }
        QSqlQuery &existing = run(entryByNameAndCode, {name, code});
        next(existing);
        const Entry entry = entryFrom(existing, existing.value(5).toLongLong());
        existing.finish();
        return {entry, false};
    }

    std::optional<Entry> find(qint64 id) override
    {
        QSqlQuery &query = run(entryById, {id});
        std::optional<Entry> entry;
        if (query.next())
            entry = entryFrom(query, query.value(5).toLongLong());
        query.finish();
        return entry;
    }

    Page page(qint64 offset, int limit) override
    {
        Transaction read(*this, dialect_.beginRead);
        // Entries of fewer days than each days value, and in all.
        std::map<int, qint64> fewerDays;
        qint64 total = 0;
        int firstDays = 0;
        qint64 firstArrival = 0;
        QSqlQuery &counts = run(allCounts, {});
        while (counts.next()) {
            const int days = counts.value(0).toInt();
            const qint64 entries = counts.value(1).toLongLong();
            fewerDays[days] = total;
            if (firstArrival == 0 && offset < total + entries) {
                firstDays = days;
                firstArrival = offset - total + 1;
            }
            total += entries;
        }
        counts.finish();
        Page page{total, {}};
        if (firstArrival == 0)
            return page;
        QSqlQuery &rows = run(entriesFrom, {firstDays, firstArrival, limit});
        while (rows.next())
            page.entries.append(entryFrom(rows, fewerDays[rows.value(2).toInt()]));
        rows.finish();
        read.commit();
        return page;
    }

    bool answers() override
    {
        try {
            QSqlQuery &query = run(u"SELECT version FROM schema_version"_s, {});
            const bool answered = query.next();
            query.finish();
            return answered;
        } catch (const StoreError &) {
            return false;
        }
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

    // A statement, prepared once per connection, run with its values bound.
    QSqlQuery &run(const QString &sql, const QVariantList &values)
    {
        auto found = statements_.find(sql);
        if (found == statements_.end()) {
            QSqlQuery query(db_);
            if (!query.prepare(sql))
                throw StoreError(oneLine(query.lastError()));
            found = statements_.emplace(sql, std::move(query)).first;
        }
        QSqlQuery &query = found->second;
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        if (!query.exec())
            throw StoreError(oneLine(query.lastError()));
        return query;
    }

    static void next(QSqlQuery &query)
    {
        if (!query.next())
            throw StoreError(u"a statement answered no row where one was due"_s);
    }

    void plain(QLatin1StringView sql)
    {
        QSqlQuery query(db_);
        if (!query.exec(sql))
            throw StoreError(oneLine(query.lastError()));
    }

    void expect(QLatin1StringView sql, QLatin1StringView answer)
    {
        QSqlQuery query(db_);
        if (!query.exec(sql))
            throw StoreError(oneLine(query.lastError()));
        if (!answer.isEmpty() && (!query.next() || query.value(0).toString() != answer))
            throw StoreError(u"%1 answered \"%2\", not \"%3\""_s.arg(sql, query.value(0).toString(), answer));
    }

    void createSchema()
    {
        Transaction write(*this, dialect_.beginWrite);
        for (const QString &table : schema) {
            QSqlQuery query(db_);
            if (!query.exec(QString(table).replace("%1"_L1, dialect_.idColumn)))
                throw StoreError(oneLine(query.lastError()));
        }
        QSqlQuery version(db_);
        if (!version.exec(u"SELECT version FROM schema_version"_s))
            throw StoreError(oneLine(version.lastError()));
        if (!version.next()) {
            QSqlQuery insert(db_);
            insert.prepare(u"INSERT INTO schema_version (version) VALUES (?)"_s);
            insert.addBindValue(schemaVersion);
            if (!insert.exec())
                throw StoreError(oneLine(insert.lastError()));
        } else if (const int found = version.value(0).toInt(); found != schemaVersion) {
            // No older version exists yet to bring up to date.
            throw StoreError(u"its tables are of version %1, this program knows version %2"_s
                                 .arg(found)
                                 .arg(schemaVersion));
        }
        version.finish();
        write.commit();
    }

    static inline int connections = 0;

    const Dialect &dialect_;
    const WallClock &clock_;
    const QString connection_;
    const QString countIn_;
    QSqlDatabase db_;
    std::map<QString, QSqlQuery> statements_;
};

} // namespace

std::unique_ptr<ResultStore> openResultStore(const QString &url, const WallClock &clock)
{
    const qsizetype colon = url.indexOf(u':');
    const QStringView scheme = QStringView(url).first(std::max<qsizetype>(colon, 0));
    const QString target = url.mid(colon + 1);
    for (const Dialect *dialect : dialects) {
        if (colon <= 0 || scheme != dialect->scheme)
            continue;
        if (target.isEmpty())
            throw StoreError(u"the database URL %1 names no file"_s.arg(url));
        const QFileInfo file(target);
        if (!QDir().mkpath(file.absolutePath()))
            throw StoreError(u"cannot create the folder %1"_s.arg(file.absolutePath()));
        if (file.isDir())
            throw StoreError(u"the database %1 is a folder"_s.arg(url));
        auto store = std::make_unique<SqlResultStore>(*dialect, clock);
        store->open(url, target);
        return store;
    }
    throw StoreError(u"unknown kind of database URL: %1 (use sqlite:PATH)"_s.arg(url));
}

QString defaultDatabaseUrl()
{
    return u"sqlite:"_s + QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/suiranjuku-homepage/results.sqlite"_s;
}
