// What bench/homepage.sh feeds the home page with and checks it by:
//   suiran_homebench_data codes          every code a winner can bring, one a line
//   suiran_homebench_data seed URL N [H] N entries into an empty hall of fame,
//                                        H of them (evenly spread) hidden
//   suiran_homebench_data entries URL    "id name" of every entry, one a line
// The codes are made by the game's own rules; the database URL is the home
// page's (sqlite:PATH, postgresql://...), its tables made by the home page's
// own schema code.

#include "Database.h"

#include "homepage/Schema.h"
#include "homepage/SqlConnection.h"

#include "rules/GameState.h"
#include "rules/ResultCode.h"
#include "rules/SlotGame.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// Entries go in this many to a statement; seeds come in whole batches.
constexpr int seedBatch = 500;

void printCodes()
{
    for (int days = fewestDaysToGoal(); days <= rules::dayLimit; ++days) {
        for (int key = resultcode::lowestKey; key < resultcode::lowestKey + resultcode::keyCount; ++key)
            std::printf("%s\n", qPrintable(resultcode::make(days, key)));
    }
}

void execOrDie(QSqlQuery &query)
{
    if (!query.exec()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(query.lastQuery()), qPrintable(query.lastError().text()));
        std::exit(1);
    }
}

// Entries as N registrations one a minute up to now would leave them, every
// (N / H)th of them hidden since: put in many to a statement, as registering
// 100,000 entries one by one would take minutes, and their places and counts
// worked out afterwards by the store's own code.
void seed(const QString &url, int count, int hidden)
{
    QSqlDatabase db = openDatabase(url);
    try {
        prepareSchema(db, dialectOf(url));
    } catch (const StoreError &error) {
        std::fprintf(stderr, "seed: %s\n", error.what());
        std::exit(1);
    }
    QSqlQuery existing(u"SELECT COUNT(*) FROM results"_s, db);
    if (!existing.next() || existing.value(0).toLongLong() != 0) {
        std::fprintf(stderr, "seed: the hall of fame is not empty, or has no tables yet\n");
        std::exit(1);
    }
    existing.finish();
    runOrDie(db, u"BEGIN"_s);
    QString rows = u"(?, ?, ?, ?, ?, ?)"_s;
    for (int i = 1; i < seedBatch; ++i)
        rows += u", (?, ?, ?, ?, ?, ?)"_s;
    QSqlQuery insert(db);
    insert.prepare(u"INSERT INTO results (name, code, days, arrival, place, registered) VALUES "_s + rows);

    std::mt19937 draw(15);
    std::uniform_int_distribution<int> anyDays(fewestDaysToGoal(), rules::dayLimit);
    std::uniform_int_distribution<int> anyKey(resultcode::lowestKey, resultcode::lowestKey + resultcode::keyCount - 1);
    const qint64 minute = 60'000;
    const qint64 first = QDateTime::currentMSecsSinceEpoch() - count * minute;
    const int hiddenEvery = hidden > 0 ? count / hidden : 0;
    for (int i = 0; i < count; i += seedBatch) {
        int bound = 0;
        for (int j = i; j < i + seedBatch; ++j) {
            const int days = anyDays(draw);
            // The order of registration is all an arrival says; a hidden
            // entry has no place, a shown one any for now.
            const bool shown = hiddenEvery == 0 || j % hiddenEvery != hiddenEvery - 1;
            insert.bindValue(bound++, u"門下生%1"_s.arg(j + 1));
            insert.bindValue(bound++, resultcode::make(days, anyKey(draw)));
            insert.bindValue(bound++, days);
            insert.bindValue(bound++, j + 1);
            insert.bindValue(bound++, shown ? QVariant(j + 1) : QVariant(QMetaType::fromType<int>()));
            insert.bindValue(bound++, first + j * minute);
        }
        execOrDie(insert);
    }
    try {
        recountPlaces(db);
    } catch (const StoreError &error) {
        std::fprintf(stderr, "seed: %s\n", error.what());
        std::exit(1);
    }
    runOrDie(db, u"COMMIT"_s);
}

void printEntries(const QString &url)
{
    QSqlDatabase db = openDatabase(url);
    QSqlQuery rows(db);
    rows.prepare(u"SELECT id, name FROM results"_s);
    execOrDie(rows);
    while (rows.next())
        std::printf("%lld %s\n", rows.value(0).toLongLong(), qPrintable(rows.value(1).toString()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == "codes"_L1)
        printCodes();
    else if ((args.size() == 4 || args.size() == 5) && args[1] == "seed"_L1 && args[3].toInt() > 0
             && args[3].toInt() % seedBatch == 0)
        seed(args[2], args[3].toInt(), args.size() == 5 ? args[4].toInt() : 0);
    else if (args.size() == 3 && args[1] == "entries"_L1)
        printEntries(args[2]);
    else {
        std::fprintf(stderr, "usage: suiran_homebench_data codes | seed URL N (a multiple of %d) [HIDDEN] | entries URL\n", seedBatch);
        return 2;
    }
    return 0;
}
