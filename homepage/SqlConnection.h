#pragma once

#include "homepage/ResultStore.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>

#include <utility>

class QSqlDatabase;
class QSqlError;

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
    // Taken before the tables are looked for, created or brought up to date,
    // so that servers starting at once do that once; none when beginWrite
    // already keeps other writers out.
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
    // Answers true while the database takes no writes at all (a standby, or
    // one set read-only); empty where the database cannot say so.
    QLatin1StringView refusesWrites;
    // Asks who the database knows the connection as, for the moderation log;
    // empty where it knows nobody (a file), and the user running the program
    // is named instead.
    QLatin1StringView role;
    // Writes a consistent copy of the whole database, as one read
    // transaction sees it, into the empty file bound to it; empty where the
    // database server has tools of its own for that (pg_dump).
    QLatin1StringView copyInto;
};

// The dialect of a database URL's scheme; throws StoreError for any other.
const Dialect &dialectOf(const QString &url);

// Opens the connection as the dialect has it: addressed, its session set up,
// its file checked. Throws StoreError.
void openConnection(QSqlDatabase &db, const Dialect &dialect, const QString &url, const QString &password);

// The database's complaint as a StoreError.
StoreError failure(const QSqlError &error);

// Runs one statement without values; throws StoreError when it fails.
void execute(QSqlDatabase &db, const QString &sql);
