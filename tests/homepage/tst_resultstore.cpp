// The hall of fame's store on its own, with a clock the test sets: ranks,
// ties, pages from any rank, the repeat of an entry, two connections at once.
// The database is of the kind SUIRAN_TEST_DATABASE names.

#include "HomepageServer.h"

#include "homepage/Clocks.h"
#include "homepage/SqlResultStore.h"
#include "rules/ResultCode.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

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

QTEST_GUILESS_MAIN(TestResultStore)
#include "tst_resultstore.moc"
