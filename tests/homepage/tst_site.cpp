// The site when its database does not answer: every answer that needs the
// hall of fame says so (503, in Japanese, and in the log), and what needs no
// database still works. In process, on a store that always fails.

#include "HomepageServer.h"
#include "homepage/AcceptLanguage.h"
#include "homepage/Metrics.h"
#include "homepage/RateLimiter.h"
#include "homepage/ResultStore.h"
#include "homepage/RevisionProbe.h"
#include "homepage/SqlResultStore.h"
#include "homepage/Site.h"
#include "homepage/StaticFiles.h"
#include "rules/ResultCode.h"
#include "support/ScriptedSeams.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class GoneStore final : public ResultStore {
public:
    Registration add(const QString &, const QString &, int, const QByteArray &) override { throw gone(); }
    std::optional<Entry> find(qint64) override { throw gone(); }
    std::pair<Withdrawal, std::optional<Entry>> withdrawal(const QByteArray &) override { throw gone(); }
    Withdrawal withdraw(const QByteArray &) override { throw gone(); }
    Page page(qint64, int) override { throw gone(); }
    bool answers() override { return false; }
    QByteArray revision() override { throw gone(); }

private:
    static StoreError gone() { return StoreError(u"the database went away"_s); }
};

// A hall of fame in memory that counts how often the site asks it.
class CountingStore final : public ResultStore {
public:
    Registration add(const QString &name, const QString &, int days, const QByteArray &) override
    {
        changed();
        entries.append({entries.size() + 1, name, days, entries.size() + 1, 0});
        return {entries.last(), true};
    }
    std::optional<Entry> find(qint64) override { return std::nullopt; }
    std::pair<Withdrawal, std::optional<Entry>> withdrawal(const QByteArray &) override
    {
        return {Withdrawal::Unknown, std::nullopt};
    }
    Withdrawal withdraw(const QByteArray &) override { return Withdrawal::Unknown; }
    Page page(qint64, int) override
    {
        ++reads;
        return {entries.size(), entries};
    }
    bool answers() override { return true; }
    QByteArray revision() override
    {
        ++asked;
        return QByteArray::number(revision_);
    }
    // What another server's registration looks like from here.
    void changed() { ++revision_; }

    QList<Entry> entries;
    int asked = 0;
    int reads = 0;

private:
    int revision_ = 0;
};

Request get(const QString &path)
{
    const qsizetype question = path.indexOf(u'?');
    return {"GET", path.left(question), QUrlQuery(question < 0 ? QString() : path.mid(question + 1)), {}, {},
            QHostAddress(QHostAddress::LocalHost)};
}

Request askingFor(Request request, const QByteArray &acceptLanguage)
{
    if (!acceptLanguage.isEmpty())
        request.headers.insert("accept-language", acceptLanguage);
    return request;
}

QByteArray varies(const Response &response)
{
    for (const auto &[name, value] : response.headers) {
        if (name == "Vary")
            return value;
    }
    return {};
}

Request registration(const QString &name)
{
    const QByteArray body = R"({"name":")" + name.toUtf8() + R"(","code":")" + resultcode::make(50, 5).toLatin1() + "\"}";
    return {"POST", u"/api/results"_s, {}, {{"content-type", "application/json"}}, body, QHostAddress(QHostAddress::LocalHost)};
}

} // namespace

class TestSite : public QObject {
    Q_OBJECT

private slots:
    void withoutItsDatabase_data();
    void withoutItsDatabase();
    void pagesKeptUntilTheHallOfFameChanges();
    void languageAsked_data();
    void languageAsked();
    void pagesKeptPerLanguage();
    void chosenLanguageKept();
    void revisionAskedAside();
    void metricsInTheTextFormat();
};

void TestSite::withoutItsDatabase_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("logged");
    const QString code = resultcode::make(50, 5);
    const QByteArray json = "application/json";
    const QByteArray entry = R"({"name":"ソラマ","code":")" + code.toLatin1() + "\"}";

    QTest::newRow("health") << "GET"_ba << u"/healthz"_s << QByteArray() << QByteArray() << 503 << false;
    QTest::newRow("home") << "GET"_ba << u"/"_s << QByteArray() << QByteArray() << 503 << true;
    QTest::newRow("hall of fame") << "GET"_ba << u"/results"_s << QByteArray() << QByteArray() << 503 << true;
    QTest::newRow("an entry") << "GET"_ba << u"/results/1"_s << QByteArray() << QByteArray() << 503 << true;
    QTest::newRow("JSON list") << "GET"_ba << u"/api/results"_s << QByteArray() << QByteArray() << 503 << true;
    QTest::newRow("JSON registration") << "POST"_ba << u"/api/results"_s << json << entry << 503 << true;
    QTest::newRow("form registration") << "POST"_ba << u"/register"_s << "application/x-www-form-urlencoded"_ba
                                       << "name=x&code=" + code.toLatin1() << 503 << true;
    QTest::newRow("a refusal needs no database") << "POST"_ba << u"/api/results"_s << json << "{}"_ba << 400 << false;
    QTest::newRow("the form needs no database") << "GET"_ba << u"/register"_s << QByteArray() << QByteArray() << 200
                                                << false;
    QTest::newRow("nor the style sheet") << "GET"_ba << u"/static/style.css"_s << QByteArray() << QByteArray()
                                         << 200 << false;
}

void TestSite::withoutItsDatabase()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, path);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(bool, logged);
    GoneStore store;
    ScriptedClock clock;
    RateLimiter limiter(registrationsPerMinute, clock);
    const StaticFiles files;
    Site site(store, limiter, files);
    Request request{method, path, {}, {}, body, QHostAddress(QHostAddress::LocalHost)};
    if (!type.isEmpty())
        request.headers.insert("content-type", type);
    if (logged)
        QTest::ignoreMessage(QtWarningMsg, "the database went away");
    const Response response = site.handle(request);
    QCOMPARE(response.status, status);
    if (status == 503 && path.startsWith("/api/"_L1)) {
        const QJsonObject answer = QJsonDocument::fromJson(response.body).object();
        QCOMPARE(answer[u"error"_s].toString(), u"unavailable"_s);
        QVERIFY(answer[u"message"_s].toString().contains(u"しばらくしてから"_s));
    } else if (status == 503 && path != "/healthz"_L1) {
        QVERIFY(QString::fromUtf8(response.body).contains(u"しばらくしてから"_s));
    }
}

void TestSite::pagesKeptUntilTheHallOfFameChanges()
{
    CountingStore store;
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    const StaticFiles files;
    Site site(store, limiter, files);
    const auto shows = [](const Response &response, const QString &name) {
        return QString::fromUtf8(response.body).contains(u'>' + name + u'<');
    };

    // Requests that came in together: one question for all, one drawing.
    const QList<Response> together = site.handle({get(u"/"_s), get(u"/"_s), get(u"/api/results"_s)});
    QCOMPARE(store.asked, 1);
    QCOMPARE(store.reads, 2);
    QCOMPARE(together[0].body, together[1].body);
    // Later, nothing changed: asked again, drawn from what was kept.
    site.handle(get(u"/"_s));
    QCOMPARE(store.asked, 2);
    QCOMPARE(store.reads, 2);

    // A registration among them: asked again after it, and drawn anew.
    const QList<Response> around = site.handle({get(u"/"_s), registration(u"ソラマ"_s), get(u"/"_s)});
    QCOMPARE(around[1].status, 201);
    QVERIFY(!shows(around[0], u"ソラマ"_s));
    QVERIFY(shows(around[2], u"ソラマ"_s));
    QCOMPARE(store.asked, 4);
    QCOMPARE(store.reads, 3);

    // Through another server: the next request sees it.
    store.entries.append({2, u"おすず"_s, 40, 2, 0});
    store.changed();
    QVERIFY(shows(site.handle(get(u"/"_s)), u"おすず"_s));
    // Every address is kept on its own.
    site.handle({get(u"/results?page=1"_s), get(u"/results"_s), get(u"/results?page=1"_s)});
    QCOMPARE(store.reads, 6);

    // With the revision asked aside, the site asks nothing itself, until a
    // registration among the requests makes it ask again.
    const QByteArray now = store.revision();
    store.asked = 0;
    site.handle({get(u"/"_s), get(u"/results"_s)}, now);
    QCOMPARE(store.asked, 0);
    QCOMPARE(store.reads, 6);
    const QList<Response> after = site.handle({registration(u"はやて"_s), get(u"/"_s)}, now);
    QCOMPARE(store.asked, 1);
    QVERIFY(shows(after[1], u"はやて"_s));
    // A revision asked aside that differs from the one kept: drawn anew.
    site.handle({get(u"/results"_s)}, "another");
    QCOMPARE(store.reads, 8);
}

void TestSite::languageAsked_data()
{
    QTest::addColumn<QByteArray>("acceptLanguage");
    QTest::addColumn<QString>("chosen");   // lang= in the address
    QTest::addColumn<QString>("language");

    QTest::newRow("ja") << "ja"_ba << QString() << u"ja"_s;
    QTest::newRow("en") << "en"_ba << QString() << u"en"_s;
    QTest::newRow("English first, by order") << "en-GB,ja;q=0.9"_ba << QString() << u"en"_s;
    QTest::newRow("Japanese first, by order") << "ja,en;q=0.8"_ba << QString() << u"ja"_s;
    QTest::newRow("neither") << "fr"_ba << QString() << u"ja"_s;
    QTest::newRow("none") << QByteArray() << QString() << u"ja"_s;
    QTest::newRow("English first, by weight") << "ja;q=0.5,en"_ba << QString() << u"en"_s;
    QTest::newRow("English refused") << "en;q=0,ja"_ba << QString() << u"ja"_s;
    QTest::newRow("equal weights keep their order") << "fr;q=0.7, EN-us;q=0.70, ja;q=0.7"_ba << QString() << u"en"_s;
    QTest::newRow("a wildcard for what is not named") << "ja;q=0,*;q=0.1"_ba << QString() << u"en"_s;
    QTest::newRow("malformed ranges skipped") << "en;q=1.5,e n,en;level=1,ja;q=0.1,en;q=0.05"_ba << QString()
                                              << u"ja"_s;
    QTest::newRow("only the first ranges read") << QByteArray("fr,").repeated(mostRanges) + "en" << QString()
                                                << u"ja"_s;
    QTest::newRow("the address chooses Japanese") << "en"_ba << u"ja"_s << u"ja"_s;
    QTest::newRow("the address chooses English") << "ja"_ba << u"en"_s << u"en"_s;
    QTest::newRow("no such choice") << "en"_ba << u"fr"_s << u"en"_s;
}

void TestSite::languageAsked()
{
    QFETCH(QByteArray, acceptLanguage);
    QFETCH(QString, chosen);
    QFETCH(QString, language);
    CountingStore store;
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    const StaticFiles files;
    Site site(store, limiter, files);
    const QString lang = chosen.isEmpty() ? QString() : u"lang="_s + chosen;

    const Response page = site.handle(askingFor(get(u"/?"_s + lang), acceptLanguage));
    QVERIFY(page.body.contains("<html lang=\"" + language.toLatin1() + "\">"));
    // The rules' names for the symbols, in the rules' own translation.
    QVERIFY(page.body.contains(language == "en"_L1 ? "lantern" : "提灯"));
    const bool addressed = chosen == "ja"_L1 || chosen == "en"_L1;
    QCOMPARE(varies(page), addressed ? QByteArray() : "Accept-Language"_ba);
    // The JSON interface's messages too, under the same codes.
    const Response refusal = site.handle(askingFor(get(u"/api/results?limit=0&"_s + lang), acceptLanguage));
    const QJsonObject answer = QJsonDocument::fromJson(refusal.body).object();
    QCOMPARE(answer[u"error"_s].toString(), u"bad_parameter"_s);
    const Language expected = language == "en"_L1 ? Language::English : Language::Japanese;
    QCOMPARE(answer[u"message"_s].toString(), describe(Problem::BadRange).in(expected).toString());
}

void TestSite::pagesKeptPerLanguage()
{
    CountingStore store;
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    const StaticFiles files;
    Site site(store, limiter, files);
    const Request japanese = get(u"/"_s);
    const Request english = askingFor(get(u"/"_s), "en");

    const QList<Response> first = site.handle({japanese, english, japanese, english});
    QCOMPARE(store.reads, 2);
    QVERIFY(first[0].body.contains("<html lang=\"ja\">"));
    QVERIFY(first[1].body.contains("<html lang=\"en\">"));
    QCOMPARE(first[2].body, first[0].body);
    QCOMPARE(first[3].body, first[1].body);
    // A registration forgets the pages of both; the name stands as written.
    site.handle(registration(u"ソラマ"_s));
    const QList<Response> after = site.handle({japanese, english});
    QCOMPARE(store.reads, 4);
    for (const Response &response : after)
        QVERIFY(QString::fromUtf8(response.body).contains(u">ソラマ<"_s));
}

void TestSite::chosenLanguageKept()
{
    CountingStore store;
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    const StaticFiles files;
    Site site(store, limiter, files);

    // The other language's link keeps the address; the page's own links
    // and its form keep the language chosen.
    const QByteArray page = site.handle(askingFor(get(u"/?x=1&lang=en"_s), "ja")).body;
    QVERIFY(page.contains(R"(<a class="language" href="/?x=1&amp;lang=ja" hreflang="ja" lang="ja">)"));
    QVERIFY(page.contains(R"(<link rel="alternate" hreflang="x-default" href="/?x=1">)"));
    QVERIFY(page.contains(R"(<a href="/?lang=en#play">)"));
    QVERIFY(page.contains(R"(action="/register?lang=en")"));
    QVERIFY(page.contains(R"(href="/static/style.css?v=)"));
    // So does the answer to the form.
    const QByteArray body = "name=x&code=" + resultcode::make(50, 5).toLatin1();
    const Response registered = site.handle(Request{"POST", u"/register"_s, QUrlQuery(u"lang=en"_s),
        {{"content-type", "application/x-www-form-urlencoded"}}, body, QHostAddress(QHostAddress::LocalHost)});
    QCOMPARE(registered.status, 303);
    QVERIFY(registered.headers.contains(std::pair{"Location"_ba, "/results/1?lang=en"_ba}));
}

void TestSite::revisionAskedAside()
{
    int opened = 0;
    bool reachable = false;
    RevisionProbe probe([&opened, &reachable]() -> std::unique_ptr<ResultStore> {
        ++opened;
        if (!reachable)
            throw StoreError(u"not there"_s);
        return std::make_unique<CountingStore>();
    });
    QSignalSpy answered(&probe, &RevisionProbe::answered);
    // Not reachable: nothing, and no new try before the pause is over.
    probe.ask();
    QVERIFY(answered.wait());
    QCOMPARE(answered.takeFirst().first().toByteArray(), QByteArray());
    reachable = true;
    probe.ask();
    QVERIFY(answered.wait());
    QCOMPARE(answered.takeFirst().first().toByteArray(), QByteArray());
    QCOMPARE(opened, 1);
    // Past it, the store opens and answers.
    QTest::qWait(int(reconnectPause.count()) + 50);
    probe.ask();
    QVERIFY(answered.wait());
    QCOMPARE(answered.takeFirst().first().toByteArray(), "0"_ba);
    QCOMPARE(opened, 2);
}

void TestSite::metricsInTheTextFormat()
{
    CountingStore store;
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    const StaticFiles files;
    Metrics metrics;
    Site site(store, limiter, files, {}, nullptr, &metrics);
    site.handle({get(u"/"_s), get(u"/"_s), get(u"/nothing\"{}"_s)});
    site.handle(registration(u"ソラマ"_s));
    site.handle(registration(u""_s));
    const Exposition read = readExposition(metrics.render());
    QVERIFY2(read.fault.isEmpty(), qPrintable(read.fault));
    const QMap<QString, double> &samples = read.samples;
    QCOMPARE(samples.value(u"suiranjuku_http_requests_total{route=\"GET /\",status=\"200\"}"_s), 2);
    // What a client makes up in its address is no label of its own.
    QCOMPARE(samples.value(u"suiranjuku_http_requests_total{route=\"other\",status=\"404\"}"_s), 1);
    QCOMPARE(samples.value(u"suiranjuku_registrations_total{outcome=\"created\"}"_s), 1);
    QCOMPARE(samples.value(u"suiranjuku_registrations_total{outcome=\"bad_name\"}"_s), 1);
    QCOMPARE(samples.value(u"suiranjuku_kept_pages_total{source=\"drawn\"}"_s), 1);
    QCOMPARE(samples.value(u"suiranjuku_kept_pages_total{source=\"kept\"}"_s), 1);
    QCOMPARE(samples.value(u"suiranjuku_request_duration_seconds_count"_s), 5);
    QCOMPARE(samples.value(u"suiranjuku_withdrawals_total"_s), 0);
}

QTEST_GUILESS_MAIN(TestSite)
#include "tst_site.moc"
