// The site when its database does not answer: every answer that needs the
// hall of fame says so (503, in Japanese, and in the log), and what needs no
// database still works. In process, on a store that always fails.

#include "homepage/RateLimiter.h"
#include "homepage/ResultStore.h"
#include "homepage/Site.h"
#include "homepage/StaticFiles.h"
#include "rules/ResultCode.h"
#include "support/ScriptedSeams.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class GoneStore final : public ResultStore {
public:
    Registration add(const QString &, const QString &, int) override { throw gone(); }
    std::optional<Entry> find(qint64) override { throw gone(); }
    Page page(qint64, int) override { throw gone(); }
    bool answers() override { return false; }
    QByteArray revision() override { throw gone(); }

private:
    static StoreError gone() { return StoreError(u"the database went away"_s); }
};

} // namespace

class TestSite : public QObject {
    Q_OBJECT

private slots:
    void withoutItsDatabase_data();
    void withoutItsDatabase();
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

QTEST_GUILESS_MAIN(TestSite)
#include "tst_site.moc"
