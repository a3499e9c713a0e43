#pragma once

class QSqlDatabase;
struct Dialect;

// The version of the tables this program creates and reads, kept in the
// database itself: an older one is brought up to date on connecting, a newer
// one refused.
inline constexpr int schemaVersion = 2;

// Creates the hall of fame's tables, or brings those of an earlier version up
// to date, in one write transaction (under the dialect's schema lock), so
// that of servers starting at once only one does it. Throws StoreError, also
// for tables of a version newer than this program's. `upTo` stops at an
// earlier version, as a server of that version left its tables.
void prepareSchema(QSqlDatabase &db, const Dialect &dialect, int upTo = schemaVersion);

// Works out every entry's place and every days value's counts again from the
// entries themselves (their days, arrivals, times and whether they are
// shown): for entries put in by other means than the store, as the
// benchmark's seeder does. Reads the whole table; in a transaction of the
// caller's.
void recountPlaces(QSqlDatabase &db);
