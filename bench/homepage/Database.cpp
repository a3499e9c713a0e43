#include "Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void die(const QString &why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::exit(1);
}

} // namespace

QSqlDatabase openDatabase(const QString &url)
{
    QSqlDatabase db;
    if (url.startsWith("sqlite:"_L1)) {
        db = QSqlDatabase::addDatabase(u"QSQLITE"_s);
        db.setDatabaseName(url.mid(7));
    } else if (url.startsWith("postgresql://"_L1)) {
        const QUrl parsed(url);
        db = QSqlDatabase::addDatabase(u"QPSQL"_s);
        db.setHostName(parsed.host());
        db.setPort(parsed.port(5432));
        db.setUserName(parsed.userName());
        db.setDatabaseName(parsed.path().mid(1));
    } else {
        die(u"unknown kind of database URL: "_s + url);
    }
    if (!db.open())
        die(u"cannot open %1: %2"_s.arg(url, db.lastError().text()));
    if (db.driverName() == "QSQLITE"_L1) {
        runOrDie(db, u"PRAGMA journal_mode = WAL"_s);
        runOrDie(db, u"PRAGMA synchronous = FULL"_s);
    }
    return db;
}

void runOrDie(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        die(u"%1: %2"_s.arg(sql, query.lastError().text()));
}
