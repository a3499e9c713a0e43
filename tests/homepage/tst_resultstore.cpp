// The hall of fame's store on its own, with a clock the test sets: ranks,
// ties, pages from any rank, the repeat of an entry, two connections at once,
// hidden and withdrawn entries, tables of an earlier version.
// The database is of the kind SUIRAN_TEST_DATABASE names.

#include "HomepageServer.h"

#include "homepage/Clocks.h"
#include "homepage/Schema.h"
#include "homepage/SqlConnection.h"
#include "homepage/SqlResultStore.h"
#include "rules/ResultCode.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

class SetClock final : public WallClock {
public:
    qint64 msecsSinceEpoch() const override { return now; }
    qint64 now = 1'800'000'000'000;
};

QString codeFor(int days)
{
    return resultcode::make(days, 5);
}

QStringList namesOf(const QList<Entry> &entries)
{
    QStringList names;
    for (const Entry &entry : entries)
        names.append(entry.name);
    return names;
}

} // namespace

class TestResultStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void equalDaysGoByRegistrationTime();
    void aClockSetBackNeverJumpsTheQueue();
    void pagesFromAnyRank();
    void aRepeatTakesNoPlace();
    void twoProcessesShareOneDatabase();
    void revisionChangesWithEveryChange();
    void aLostConnectionIsOpenedAnew();
    void hidingClosesUpTheRanks_data();
    void hidingClosesUpTheRanks();
    void withdrawal_data();
    void withdrawal();
    void tablesOfTheFirstVersionAreBroughtUpToDate();

private:
    std::unique_ptr<TestDatabase> database_;
    SetClock clock_;
    std::unique_ptr<ResultStore> store_;
};

void TestResultStore::init()
{
    database_ = std::make_unique<TestDatabase>();
    store_ = openResultStore(database_->url(), clock_);
}

void TestResultStore::cleanup()
{
    store_.reset();
    database_.reset();
}

void TestResultStore::equalDaysGoByRegistrationTime()
{
    store_->add(u"後"_s, codeFor(40), 40);
    clock_.now += 1;
    store_->add(u"同時の一"_s, codeFor(40), 40);
    // In the same millisecond: the one registered first stays first.
    store_->add(u"同時の二"_s, codeFor(40), 40);
    clock_.now += 60'000;
    const ResultStore::Registration fewer = store_->add(u"少ない日数"_s, codeFor(39), 39);
    QCOMPARE(fewer.entry.rank, 1);
    const ResultStore::Page page = store_->page(0, 10);
    QCOMPARE(page.total, 4);
    QCOMPARE(namesOf(page.entries), (QStringList{u"少ない日数"_s, u"後"_s, u"同時の一"_s, u"同時の二"_s}));
    for (qsizetype i = 0; i < page.entries.size(); ++i)
        QCOMPARE(page.entries[i].rank, i + 1);
    QCOMPARE(page.entries[2].registered, page.entries[3].registered);
}

void TestResultStore::aClockSetBackNeverJumpsTheQueue()
{
    const Entry first = store_->add(u"先"_s, codeFor(50), 50).entry;
    clock_.now -= 3'600'000;
    const Entry second = store_->add(u"時計が戻った後"_s, codeFor(51), 50).entry;
    // Placed after the earlier entry, and stamped no earlier than it.
    QCOMPARE(second.rank, 2);
    QCOMPARE(second.registered, first.registered);
    // Other days keep their own times.
    QCOMPARE(store_->add(u"別の日数"_s, codeFor(60), 60).entry.registered, clock_.now);
}

void TestResultStore::pagesFromAnyRank()
{
    // Entries of scattered days, registered in a scrambled order; the ranking
    // they must come out in is worked out here the plain way.
    struct Registered {
        QString name;
        int days;
        int order;
    };
    QList<Registered> expected;
    QRandomGenerator random(14);
    for (int order = 0; order < 60; ++order) {
        const int days = 9 + int(random.bounded(12)) * 37 % 400;
        const QString name = u"塾生%1"_s.arg(order);
        store_->add(name, codeFor(order), days);
        expected.append({name, days, order});
        clock_.now += int(random.bounded(3));
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Registered &a, const Registered &b) { return a.days < b.days; });
    for (int limit : {1, 7, 50, 100}) {
        for (int offset = 0; offset <= 61; ++offset) {
            const ResultStore::Page page = store_->page(offset, limit);
            QCOMPARE(page.total, 60);
            const int shown = std::clamp(60 - offset, 0, limit);
            QCOMPARE(page.entries.size(), shown);
            for (int i = 0; i < shown; ++i) {
                const Registered &due = expected[offset + i];
                QCOMPARE(page.entries[i].name, due.name);
                QCOMPARE(page.entries[i].days, due.days);
                QCOMPARE(page.entries[i].rank, offset + i + 1);
            }
        }
    }
    // One entry alone has the same rank as in its page.
    const Entry middle = store_->page(33, 1).entries.first();
    QCOMPARE(store_->find(middle.id)->rank, 34);
    QCOMPARE(store_->find(middle.id + 1000), std::nullopt);
    QCOMPARE(store_->page(std::numeric_limits<qint64>::max(), 100).entries.size(), 0);
}

void TestResultStore::aRepeatTakesNoPlace()
{
    const ResultStore::Registration first = store_->add(u"ソラマ"_s, codeFor(70), 70);
    QVERIFY(first.created);
    clock_.now += 5000;
    const ResultStore::Registration again = store_->add(u"ソラマ"_s, codeFor(70), 70);
    QVERIFY(!again.created);
    QCOMPARE(again.entry.id, first.entry.id);
    QCOMPARE(again.entry.registered, first.entry.registered);
    // The turned-away repeat gave back its turn: the next one is second, not third.
    QCOMPARE(store_->add(u"おすず"_s, codeFor(70), 70).entry.rank, 2);
    QCOMPARE(store_->page(0, 10).total, 2);
}

void TestResultStore::twoProcessesShareOneDatabase()
{
    // A second connection, as a second server would have, sees and ranks the
    // same entries.
    store_->add(u"一つ目から"_s, codeFor(20), 20);
    const std::unique_ptr<ResultStore> second = openResultStore(database_->url(), clock_);
    QCOMPARE(second->add(u"二つ目から"_s, codeFor(19), 19).entry.rank, 1);
    QCOMPARE(namesOf(store_->page(0, 10).entries), (QStringList{u"二つ目から"_s, u"一つ目から"_s}));
    QVERIFY(second->answers());
}

void TestResultStore::revisionChangesWithEveryChange()
{
    const QByteArray empty = store_->revision();
    QCOMPARE(store_->revision(), empty);
    QCOMPARE(store_->page(0, 10).total, 0);
    QCOMPARE(store_->revision(), empty);
    store_->add(u"一つ目から"_s, codeFor(30), 30);
    const QByteArray one = store_->revision();
    QVERIFY(one != empty);
    // The counts behind the ranks are kept between pages: a change through
    // another connection, as another server makes it, is in the next page.
    QCOMPARE(store_->page(0, 10).total, 1);
    const std::unique_ptr<ResultStore> second = openResultStore(database_->url(), clock_);
    second->add(u"二つ目から"_s, codeFor(20), 20);
    QVERIFY(store_->revision() != one);
    const ResultStore::Page page = store_->page(0, 10);
    QCOMPARE(page.total, 2);
    QCOMPARE(namesOf(page.entries), (QStringList{u"二つ目から"_s, u"一つ目から"_s}));
    QCOMPARE(page.entries[1].rank, 2);
}

void TestResultStore::aLostConnectionIsOpenedAnew()
{
    if (!TestDatabase::onPostgresql())
        QSKIP("for a PostgreSQL server");
    store_->add(u"前"_s, codeFor(30), 30);
    const QByteArray before = store_->revision();
    // The server ends the store's session, as a restart would.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^lost the connection to the database "_s));
    QVERIFY(database_->run(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                            "WHERE usename = current_user AND pid <> pg_backend_pid()"_s));
    // The next request works on a new one, and what was read before counts
    // for nothing there.
    QVERIFY(store_->revision() != before);
    QCOMPARE(store_->page(0, 10).total, 1);
    QCOMPARE(store_->add(u"後"_s, codeFor(31), 31).entry.rank, 2);
}

void TestResultStore::hidingClosesUpTheRanks_data()
{
    QTest::addColumn<QString>("hidden");
    QTest::newRow("the first of its days") << u"四十日の一"_s;
    QTest::newRow("one in the middle of its days") << u"四十日の二"_s;
    QTest::newRow("the last of its days") << u"四十日の三"_s;
    QTest::newRow("alone in its days") << u"三十日"_s;
}

void TestResultStore::hidingClosesUpTheRanks()
{
    QFETCH(QString, hidden);
    const QStringList all{u"三十日"_s, u"四十日の一"_s, u"四十日の二"_s, u"四十日の三"_s, u"五十日"_s};
    qint64 id = 0;
    for (const QString &name : all) {
        const int days = name.startsWith(u"三"_s) ? 30 : name.startsWith(u"四"_s) ? 40 : 50;
        const Entry entry = store_->add(name, codeFor(days), days).entry;
        if (name == hidden)
            id = entry.id;
        clock_.now += 1000;
    }
    // Hidden through a connection of its own, as the publisher's command
    // does beside the running server.
    const std::unique_ptr<Moderation> keeper = openModeration(database_->url(), clock_);
    const QByteArray before = store_->revision();
    QCOMPARE(keeper->hide(id, u"悪い名前"_s, u"publisher"_s), Moderation::Outcome::Done);
    QCOMPARE(keeper->hide(id, u"二度目"_s, u"publisher"_s), Moderation::Outcome::AlreadySo);
    QVERIFY(store_->revision() != before);
    QStringList shown = all;
    shown.removeOne(hidden);
    const ResultStore::Page page = store_->page(0, 10);
    QCOMPARE(page.total, 4);
    QCOMPARE(namesOf(page.entries), shown);
    for (qsizetype i = 0; i < page.entries.size(); ++i) {
        QCOMPARE(page.entries[i].rank, i + 1);
        QCOMPARE(store_->find(page.entries[i].id)->rank, i + 1);
    }
    QCOMPARE(store_->page(3, 1).entries.first().name, shown[3]);
    QCOMPARE(store_->find(id), std::nullopt);
    QCOMPARE(keeper->kept(id)->rank, 0);
    // A repeat of the hidden entry does not bring it back.
    const ResultStore::Registration repeat = store_->add(hidden, keeper->kept(id)->code, keeper->kept(id)->days);
    QVERIFY(!repeat.created && repeat.hidden);

    // A newcomer of forty days goes behind the shown ones; unhidden, the
    // entry goes back where its arrival puts it, ahead of the newcomer.
    store_->add(u"後から四十日"_s, codeFor(99), 40);
    QCOMPARE(keeper->unhide(id, {}, u"publisher"_s), Moderation::Outcome::Done);
    QStringList again = all;
    again.insert(4, u"後から四十日"_s);
    const ResultStore::Page restored = store_->page(0, 10);
    QCOMPARE(namesOf(restored.entries), again);
    for (qsizetype i = 0; i < restored.entries.size(); ++i)
        QCOMPARE(restored.entries[i].rank, i + 1);
    const QList<Moderation::Action> log = keeper->log();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].action, u"hide"_s);
    QCOMPARE(log[0].reason, u"悪い名前"_s);
    QCOMPARE(log[0].entry, id);
    QCOMPARE(log[1].action, u"unhide"_s);
    // The database's role where it has one, else who ran the command.
    QCOMPARE(log[0].actor, TestDatabase::onPostgresql() ? QUrl(database_->url()).userName() : u"publisher"_s);
}

void TestResultStore::withdrawal_data()
{
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("total");
    QTest::newRow("the entry's own token") << QByteArray("hash-of-the-token") << int(ResultStore::Withdrawal::Open) << 2;
    QTest::newRow("a token never given") << QByteArray("hash-of-another") << int(ResultStore::Withdrawal::Unknown) << 3;
    QTest::newRow("the token of a repeat") << QByteArray("hash-of-the-repeat") << int(ResultStore::Withdrawal::Unknown)
                                           << 3;
}

void TestResultStore::withdrawal()
{
    QFETCH(QByteArray, token);
    QFETCH(int, answer);
    QFETCH(int, total);
    store_->add(u"前"_s, codeFor(20), 20);
    const Entry entry = store_->add(u"取り下げる"_s, codeFor(20), 20, "hash-of-the-token").entry;
    store_->add(u"後"_s, codeFor(21), 20);
    QVERIFY(!store_->add(u"取り下げる"_s, codeFor(20), 20, "hash-of-the-repeat").created);
    const auto [state, found] = store_->withdrawal(token);
    QCOMPARE(int(state), answer);
    QCOMPARE(found.has_value(), state == ResultStore::Withdrawal::Open);
    QCOMPARE(int(store_->withdraw(token)), answer);
    const ResultStore::Page page = store_->page(0, 10);
    QCOMPARE(page.total, total);
    QCOMPARE(page.entries.last().rank, total);
    if (state != ResultStore::Withdrawal::Open)
        return;
    QCOMPARE(store_->find(entry.id), std::nullopt);
    QCOMPARE(namesOf(page.entries), (QStringList{u"前"_s, u"後"_s}));
    // Used once, the link says so from then on, on every connection.
    const std::unique_ptr<ResultStore> second = openResultStore(database_->url(), clock_);
    QCOMPARE(second->withdraw(token), ResultStore::Withdrawal::Used);
    QCOMPARE(second->withdrawal(token).first, ResultStore::Withdrawal::Used);
    // The name and code may come again, as a new entry at the end.
    QCOMPARE(store_->add(u"取り下げる"_s, codeFor(20), 20).entry.rank, 3);
}

void TestResultStore::tablesOfTheFirstVersionAreBroughtUpToDate()
{
    // The tables and rows as servers of version 1 left them: arrivals 1, 2,
    // 3 ... in each days value, and its count of entries.
    store_.reset();
    const TestDatabase old;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(dialectOf(old.url()).driver, u"first-version"_s);
        openConnection(db, dialectOf(old.url()), old.url(), {});
        prepareSchema(db, dialectOf(old.url()), 1);
    }
    QSqlDatabase::removeDatabase(u"first-version"_s);
    QVERIFY(old.run(u"INSERT INTO results (name, code, days, arrival, registered) VALUES "
                     "('二番', '%1', 40, 1, 1000), ('三番', '%2', 40, 2, 2000), ('一番', '%3', 30, 1, 3000)"_s
                         .arg(codeFor(40), codeFor(41), codeFor(30))));
    QVERIFY(old.run(u"INSERT INTO day_counts (days, entries, latest) VALUES (30, 1, 3000), (40, 2, 2000)"_s));

    store_ = openResultStore(old.url(), clock_);
    QCOMPARE(old.value(u"SELECT version FROM schema_version"_s)->toInt(), schemaVersion);
    const ResultStore::Page page = store_->page(0, 10);
    QCOMPARE(namesOf(page.entries), (QStringList{u"一番"_s, u"二番"_s, u"三番"_s}));
    QCOMPARE(page.entries[2].rank, 3);
    QCOMPARE(page.entries[2].registered, 2000);
    // A server of version 1 still running fails its next registration
    // rather than register an entry without a place.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"INSERT INTO day_counts"_s));
    QVERIFY(!old.run(u"INSERT INTO day_counts (days, entries, latest) VALUES (40, 3, 4000) "
                      "ON CONFLICT (days) DO UPDATE SET entries = day_counts.entries + 1"_s));
    // Once: a second server finds it done.
    const std::unique_ptr<ResultStore> second = openResultStore(old.url(), clock_);
    QCOMPARE(second->add(u"四番"_s, codeFor(42), 40).entry.rank, 4);
    const std::unique_ptr<Moderation> keeper = openModeration(old.url(), clock_);
    QCOMPARE(keeper->hide(page.entries[1].id, u"試し"_s, u"publisher"_s), Moderation::Outcome::Done);
    QCOMPARE(namesOf(store_->page(0, 10).entries), (QStringList{u"一番"_s, u"三番"_s, u"四番"_s}));
    QCOMPARE(store_->page(0, 10).entries[2].rank, 3);
}

QTEST_GUILESS_MAIN(TestResultStore)
#include "tst_resultstore.moc"
