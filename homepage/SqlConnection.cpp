#include "homepage/SqlConnection.h"

#include "homepage/SqlResultStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

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
    {},
    {},
    "VACUUM INTO ?"_L1,
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
    // A standby, or a database set read-only (also by the server's own
    // settings, which a reload changes under a running connection).
    "SELECT pg_is_in_recovery() OR current_setting('transaction_read_only') = 'on'"_L1,
    "SELECT current_user"_L1,
    {},
};

const Dialect *const dialects[] = {&sqlite, &postgresql};

void expect(QSqlDatabase &db, const QString &sql, QLatin1StringView answer)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw failure(query.lastError());
    if (!answer.isEmpty() && (!query.next() || query.value(0).toString() != answer))
        throw StoreError(u"%1 answered \"%2\", not \"%3\""_s.arg(sql, query.value(0).toString(), answer));
}

} // namespace

const Dialect &dialectOf(const QString &url)
{
    const qsizetype colon = url.indexOf(u':');
    const QStringView scheme = QStringView(url).first(std::max<qsizetype>(colon, 0));
    for (const Dialect *dialect : dialects) {
        if (colon > 0 && scheme == dialect->scheme)
            return *dialect;
    }
    throw StoreError(u"unknown kind of database URL: %1 (use sqlite:PATH or postgresql://USER@HOST:PORT/DATABASE)"_s
                         .arg(url));
}

void openConnection(QSqlDatabase &db, const Dialect &dialect, const QString &url, const QString &password)
{
    dialect.address(db, url, password);
    if (!db.open())
        throw failure(db.lastError());
    for (const auto &[sql, answer] : dialect.sessionSetup)
        expect(db, sql, answer);
    if (!dialect.integrityCheck.isEmpty())
        expect(db, dialect.integrityCheck, "ok"_L1);
}

StoreError failure(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return StoreError(text.simplified(), error.nativeErrorCode());
}

void execute(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw failure(query.lastError());
}
