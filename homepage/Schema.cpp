#include "homepage/Schema.h"

#include "homepage/SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <iterator>

using namespace Qt::StringLiterals;

// How a rank comes from an index rather than from counting the table: every
// entry keeps its `place` among the shown entries of the same days (1, 2, 3
// ... without gaps), and `day_counts` keeps how many entries of each days
// value are shown. An entry's rank is the sum of the shown counts of fewer
// days (at most a thousand rows: the days a code carries run from 0 to 999)
// plus its place, and a page starts at the (days, place) those counts point
// to, read with a range scan of the unique index on (days, place).
//
// A hidden entry has no place. Hiding or withdrawing an entry closes up the
// places behind it in its days, and unhiding opens one again at the entry's
// `arrival`, its turn among the entries of its days, which never changes:
// those writes touch one days value's entries, and happen seldom; reads
// touch nothing more than before. Every change of places and counts takes
// the days' count row first (SQLite: the database), in the transaction that
// makes it, so two servers never give two entries one place.
//
// `arrivals` in the count row is the last turn given out among that days
// value's entries, `latest` their latest registration time: a new entry is
// stamped no earlier than it, so that the order of arrival is also the order
// of registration time even when a server's clock is set back.

namespace {

// A schema version's statements, `%1` standing for the dialect's identity
// column. Each version is the one before with its own changes; a database is
// taken through every one it has not had yet.
const QString version1[] = {
    u"INSERT INTO schema_version (version) VALUES (1)"_s,
    u"CREATE TABLE results ("
     "id %1, "
     "name TEXT NOT NULL, "
     "code TEXT NOT NULL, "
     "days INTEGER NOT NULL, "
     "arrival INTEGER NOT NULL, "
     "registered BIGINT NOT NULL, "
     "UNIQUE (name, code), "
     "UNIQUE (days, arrival))"_s,
    u"CREATE TABLE day_counts ("
     "days INTEGER PRIMARY KEY, "
     "entries INTEGER NOT NULL, "
     "latest BIGINT NOT NULL)"_s,
};

// Entries can be hidden and withdrawn: places apart from arrivals, a shown
// count beside the turns given out, the hash of each entry's withdrawal
// token, the tokens used, and the moderation log. The count's column is
// renamed so that a server of version 1 still running fails on its next
// registration rather than register an entry with no place.
const QString version2[] = {
    u"ALTER TABLE day_counts RENAME COLUMN entries TO arrivals"_s,
    u"ALTER TABLE day_counts ADD COLUMN shown INTEGER NOT NULL DEFAULT 0"_s,
    u"UPDATE day_counts SET shown = arrivals"_s,
    u"ALTER TABLE results ADD COLUMN place INTEGER"_s,
    u"UPDATE results SET place = arrival"_s,
    u"CREATE UNIQUE INDEX results_places ON results (days, place)"_s,
    u"ALTER TABLE results ADD COLUMN withdrawal TEXT"_s,
    u"CREATE UNIQUE INDEX results_withdrawals ON results (withdrawal)"_s,
    u"CREATE TABLE withdrawn (token TEXT PRIMARY KEY, withdrawn BIGINT NOT NULL)"_s,
    u"CREATE TABLE moderation ("
     "id %1, "
     "at BIGINT NOT NULL, "
     "actor TEXT NOT NULL, "
     "action TEXT NOT NULL, "
     "entry BIGINT NOT NULL, "
     "reason TEXT NOT NULL)"_s,
    u"UPDATE schema_version SET version = 2"_s,
};

struct Upgrade {
    const QString *begin;
    const QString *end;
};

// upgrades[n] takes the tables from version n to n + 1.
const Upgrade upgrades[] = {
    {std::begin(version1), std::end(version1)},
    {std::begin(version2), std::end(version2)},
};
static_assert(std::size(upgrades) == schemaVersion);

// The version the tables are of; 0 when there are none yet. The table that
// says so is there from the start, whatever the version.
int versionOf(QSqlDatabase &db)
{
    execute(db, u"CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"_s);
    QSqlQuery query(db);
    if (!query.exec(u"SELECT version FROM schema_version"_s))
        throw failure(query.lastError());
    return query.next() ? query.value(0).toInt() : 0;
}

// A transaction rolled back unless committed.
class Write {
public:
    Write(QSqlDatabase &db, const Dialect &dialect) : db_(db) { execute(db_, dialect.beginWrite); }
    ~Write()
    {
        if (!done_)
            QSqlQuery(db_).exec(u"ROLLBACK"_s);
    }
    void commit()
    {
        execute(db_, u"COMMIT"_s);
        done_ = true;
    }

private:
    QSqlDatabase &db_;
    bool done_ = false;
};

} // namespace

void prepareSchema(QSqlDatabase &db, const Dialect &dialect, int upTo)
{
    Write write(db, dialect);
    if (!dialect.schemaLock.isEmpty())
        execute(db, dialect.schemaLock);
    const int found = versionOf(db);
    if (found > schemaVersion)
        throw StoreError(
            u"its tables are of version %1, this program knows version %2"_s.arg(found).arg(schemaVersion));
    for (int version = found; version < upTo; ++version) {
        for (const QString *sql = upgrades[version].begin; sql != upgrades[version].end; ++sql)
            execute(db, QString(*sql).replace("%1"_L1, dialect.idColumn));
    }
    write.commit();
}

void recountPlaces(QSqlDatabase &db)
{
    // Away from every place the count could give first, so that no two
    // entries share one on the way.
    execute(db, u"UPDATE results SET place = -place WHERE place IS NOT NULL"_s);
    execute(db, u"UPDATE results SET place = counted.place FROM "
                 "(SELECT id, ROW_NUMBER() OVER (PARTITION BY days ORDER BY arrival) AS place "
                 "FROM results WHERE place IS NOT NULL) AS counted "
                 "WHERE results.id = counted.id"_s);
    execute(db, u"DELETE FROM day_counts"_s);
    execute(db, u"INSERT INTO day_counts (days, arrivals, shown, latest) "
                 "SELECT days, MAX(arrival), COUNT(place), MAX(registered) FROM results GROUP BY days"_s);
}
