// The home page's rules for what comes in, without a server: names, codes,
// the numbers in addresses, the pager, the command line and the limit of
// registrations a minute.

#include "homepage/ClientAddress.h"
#include "homepage/Options.h"
#include "homepage/Pager.h"
#include "homepage/RateLimiter.h"
#include "homepage/SqlResultStore.h"
#include "homepage/Submission.h"
#include "homepage/WarningThrottle.h"
#include "homepage/WordList.h"
#include "rules/ResultCode.h"
#include "rules/SlotGame.h"
#include "support/ScriptedSeams.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(std::optional<qint64>)

class TestHomepageRules : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void codes_data();
    void codes();
    void typedCodes_data();
    void typedCodes();
    void wholeNumbers_data();
    void wholeNumbers();
    void pager_data();
    void pager();
    void listenAddresses_data();
    void listenAddresses();
    void commandLine_data();
    void commandLine();
    void optionsForTheServer();
    void clientBehindProxies_data();
    void clientBehindProxies();
    void defaultDatabaseFollowsXdgDataHome();
    void limitCountsAMinutePerAddress();
    void noLimitWhenZero();
    void wordList_data();
    void wordList();
    void clientsCountedPerNetwork_data();
    void clientsCountedPerNetwork();
    void warningsAtMostOnceAMinute();
    void namesShowSomething_data();
    void namesShowSomething();
};

void TestHomepageRules::names_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::optional<QString>>("kept");
    const auto none = std::optional<QString>();
    const auto kept = [](const QString &name) { return std::optional<QString>(name); };

    QTest::newRow("plain") << u"ソラマ"_s << kept(u"ソラマ"_s);
    QTest::newRow("spaces around, also ideographic") << u"  ソラマ\u3000"_s << kept(u"ソラマ"_s);
    QTest::newRow("a space inside stays") << u"ソラマ 太郎"_s << kept(u"ソラマ 太郎"_s);
    QTest::newRow("markup is only text") << u"<b>ソラマ</b>"_s << kept(u"<b>ソラマ</b>"_s);
    QTest::newRow("decomposed kana composed (NFC)") << u"か\u3099"_s << kept(u"が"_s);
    QTest::newRow("20 characters") << u"あ"_s.repeated(20) << kept(u"あ"_s.repeated(20));
    QTest::newRow("21 characters") << u"あ"_s.repeated(21) << none;
    QTest::newRow("21 before NFC, 20 after") << u"あ"_s.repeated(19) + u"か\u3099"_s
                                            << kept(u"あ"_s.repeated(19) + u"が"_s);
    QTest::newRow("20 emoji are 40 UTF-16 units, 20 characters") << u"🎰"_s.repeated(20) << kept(u"🎰"_s.repeated(20));
    QTest::newRow("empty") << QString() << none;
    QTest::newRow("spaces only") << u" \u3000 "_s << none;
    QTest::newRow("control: bell") << u"ソ\u0007ラマ"_s << none;
    QTest::newRow("control: new line inside") << u"ソラ\nマ"_s << none;
    QTest::newRow("format: zero-width space") << u"ソ\u200Bラマ"_s << none;
    QTest::newRow("format: right-to-left override") << u"\u202Eマラソ"_s << none;
    QTest::newRow("format: byte order mark") << u"\uFEFFソラマ"_s << none;
    QTest::newRow("line separator") << u"ソラ\u2028マ"_s << none;
    QTest::newRow("noncharacter U+FFFF") << u"ソラマ\uFFFF"_s << none;
    QTest::newRow("noncharacter U+FDD0") << u"ソラマ\uFDD0"_s << none;
    QTest::newRow("lone high surrogate") << QString(u"ソラマ"_s + QChar(0xD83C)) << none;
    QTest::newRow("lone low surrogate") << QString(QChar(0xDFB0) + u"ソラマ"_s) << none;
}

void TestHomepageRules::names()
{
    QFETCH(QString, typed);
    QFETCH(std::optional<QString>, kept);
    QCOMPARE(submission::keptName(typed), kept);
}

void TestHomepageRules::codes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("days");            // when accepted
    QTest::addColumn<int>("problem");         // -1 when accepted
    const int fewest = fewestDaysToGoal();
    const auto accepted = [](int days) { return std::pair{days, -1}; };
    const auto refused = [](Problem problem) { return std::pair{0, int(problem)}; };
    const auto row = [](const char *name, const QString &code, std::pair<int, int> outcome) {
        QTest::newRow(name) << code << outcome.first << outcome.second;
    };

    row("365 days", resultcode::make(365, 5), accepted(365));
    row("the fewest days any game needs", resultcode::make(fewest, 3), accepted(fewest));
    row("one day fewer than any game needs", resultcode::make(fewest - 1, 9), refused(Problem::ImpossibleScore));
    row("a score of 0", resultcode::make(1000, 4), refused(Problem::ImpossibleScore));
    row("seven digits", resultcode::make(365, 5).left(7), refused(Problem::BadCode));
    row("full-width digits are not ASCII", u"５５３７３４６６"_s, refused(Problem::BadCode));
}

void TestHomepageRules::codes()
{
    QFETCH(QString, code);
    QFETCH(int, days);
    QFETCH(int, problem);
    const std::variant<int, Problem> read = submission::daysOf(code);
    if (problem < 0)
        QCOMPARE(std::get<int>(read), days);
    else
        QCOMPARE(int(std::get<Problem>(read)), problem);
}

void TestHomepageRules::typedCodes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("folded");
    QTest::newRow("ASCII as it is") << u"55373466"_s << u"55373466"_s;
    QTest::newRow("full-width digits") << u"５５３７３４６６"_s << u"55373466"_s;
    QTest::newRow("mixed widths") << u"55３７3４66"_s << u"55373466"_s;
    QTest::newRow("spaces around, also ideographic") << u"\u3000 55373466 "_s << u"55373466"_s;
    QTest::newRow("a space inside stays, for the rules to refuse") << u"5537 3466"_s << u"5537 3466"_s;
    QTest::newRow("other full-width characters stay") << u"５５３７－３４６６"_s << u"5537－3466"_s;
}

void TestHomepageRules::typedCodes()
{
    QFETCH(QString, typed);
    QFETCH(QString, folded);
    QCOMPARE(submission::foldTypedCode(typed), folded);
}

void TestHomepageRules::wholeNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint64>>("value");
    const auto none = std::optional<qint64>();
    const auto is = [](qint64 n) { return std::optional<qint64>(n); };
    QTest::newRow("0") << u"0"_s << is(0);
    QTest::newRow("42") << u"42"_s << is(42);
    QTest::newRow("leading zeros") << u"007"_s << is(7);
    QTest::newRow("the largest of 64 bits") << u"9223372036854775807"_s << is(std::numeric_limits<qint64>::max());
    QTest::newRow("too large comes back as the largest") << u"99999999999999999999999"_s
                                                         << is(std::numeric_limits<qint64>::max());
    QTest::newRow("empty") << QString() << none;
    QTest::newRow("minus") << u"-1"_s << none;
    QTest::newRow("plus") << u"+1"_s << none;
    QTest::newRow("space") << u" 1"_s << none;
    QTest::newRow("fraction") << u"1.5"_s << none;
    QTest::newRow("word") << u"abc"_s << none;
    QTest::newRow("full-width digit") << u"１"_s << none;
    QTest::newRow("Arabic-Indic digit") << u"\u0663"_s << none;
}

void TestHomepageRules::wholeNumbers()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint64>, value);
    QCOMPARE(submission::wholeNumber(text), value);
}

void TestHomepageRules::pager_data()
{
    QTest::addColumn<qint64>("current");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<QList<qint64>>("pages");
    QTest::newRow("one page") << qint64(1) << qint64(1) << QList<qint64>{1};
    QTest::newRow("few pages: all") << qint64(3) << qint64(5) << QList<qint64>{1, 2, 3, 4, 5};
    QTest::newRow("a gap of one page shows the page") << qint64(1) << qint64(5) << QList<qint64>{1, 2, 3, 4, 5};
    QTest::newRow("first of many") << qint64(1) << qint64(2000) << QList<qint64>{1, 2, 3, 0, 2000};
    QTest::newRow("middle of many") << qint64(1000) << qint64(2000)
                                    << QList<qint64>{1, 0, 998, 999, 1000, 1001, 1002, 0, 2000};
    QTest::newRow("last of many") << qint64(2000) << qint64(2000) << QList<qint64>{1, 0, 1998, 1999, 2000};
    QTest::newRow("near the start") << qint64(4) << qint64(2000) << QList<qint64>{1, 2, 3, 4, 5, 6, 0, 2000};
}

void TestHomepageRules::pager()
{
    QFETCH(qint64, current);
    QFETCH(qint64, last);
    QFETCH(QList<qint64>, pages);
    QCOMPARE(pagerPages(current, last), pages);
}

void TestHomepageRules::listenAddresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");   // empty: refused
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("url");
    QTest::newRow("IPv4") << u"127.0.0.1:8080"_s << u"127.0.0.1"_s << 8080 << u"http://127.0.0.1:8080/"_s;
    QTest::newRow("any port") << u"127.0.0.1:0"_s << u"127.0.0.1"_s << 0 << u"http://127.0.0.1:0/"_s;
    QTest::newRow("all IPv4 interfaces") << u"0.0.0.0:80"_s << u"0.0.0.0"_s << 80 << u"http://0.0.0.0:80/"_s;
    QTest::newRow("IPv6") << u"[::1]:8080"_s << u"::1"_s << 8080 << u"http://[::1]:8080/"_s;
    QTest::newRow("localhost") << u"localhost:9000"_s << u"127.0.0.1"_s << 9000 << u"http://127.0.0.1:9000/"_s;
    QTest::newRow("no port") << u"127.0.0.1"_s << QString() << 0 << QString();
    QTest::newRow("empty port") << u"127.0.0.1:"_s << QString() << 0 << QString();
    QTest::newRow("port too large") << u"127.0.0.1:65536"_s << QString() << 0 << QString();
    QTest::newRow("negative port") << u"127.0.0.1:-1"_s << QString() << 0 << QString();
    QTest::newRow("IPv6 without brackets") << u"::1:8080"_s << QString() << 0 << QString();
    QTest::newRow("a host name") << u"example.com:80"_s << QString() << 0 << QString();
    QTest::newRow("no address") << u":8080"_s << QString() << 0 << QString();
}

void TestHomepageRules::listenAddresses()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(QString, url);
    const auto read = readListenAddress(text);
    QCOMPARE(read.has_value(), !address.isEmpty());
    if (!read)
        return;
    QCOMPARE(read->first, QHostAddress(address));
    QCOMPARE(read->second, port);
    QCOMPARE(serverUrl(read->first, read->second), url);
}

void TestHomepageRules::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("saying");   // found in the text
    const QString program = u"suiranjuku-homepage"_s;
    QTest::newRow("help") << QStringList{program, u"--help"_s} << int(CommandLine::Help) << u"--database <URL>"_s;
    QTest::newRow("version") << QStringList{program, u"--version"_s} << int(CommandLine::Version)
                             << u"suiranjuku-homepage "_s + QStringLiteral(SUIRANJUKU_VERSION);
    QTest::newRow("unknown option") << QStringList{program, u"--port=1"_s} << int(CommandLine::Bad) << u"port"_s;
    QTest::newRow("an argument") << QStringList{program, u"extra"_s} << int(CommandLine::Bad) << u"extra"_s;
    QTest::newRow("bad listen") << QStringList{program, u"--listen"_s, u"here"_s} << int(CommandLine::Bad)
                                << u"--listen"_s;
    QTest::newRow("missing value") << QStringList{program, u"--database"_s} << int(CommandLine::Bad)
                                   << u"database"_s;
    QTest::newRow("a negative limit") << QStringList{program, u"--registration-limit=-1"_s} << int(CommandLine::Bad)
                                      << u"--registration-limit"_s;
    QTest::newRow("a limit in words") << QStringList{program, u"--registration-limit=many"_s}
                                      << int(CommandLine::Bad) << u"--registration-limit"_s;
    QTest::newRow("a proxy by name") << QStringList{program, u"--trusted-proxy=proxy.example"_s}
                                     << int(CommandLine::Bad) << u"--trusted-proxy"_s;
    QTest::newRow("no idle time at all") << QStringList{program, u"--idle-timeout=0"_s} << int(CommandLine::Bad)
                                         << u"--idle-timeout"_s;
    QTest::newRow("metrics without a port") << QStringList{program, u"--metrics-listen=127.0.0.1"_s}
                                            << int(CommandLine::Bad) << u"--metrics-listen"_s;
    QTest::newRow("run") << QStringList{program, u"--listen=127.0.0.1:0"_s, u"--database=sqlite:x"_s}
                         << int(CommandLine::Run) << QString();
}

void TestHomepageRules::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(QString, saying);
    const CommandLine command = readCommandLine(arguments);
    QCOMPARE(int(command.kind), kind);
    QVERIFY2(command.text.contains(saying), qPrintable(command.text));
    if (kind == CommandLine::Bad)
        QVERIFY2(!command.text.trimmed().contains(u'\n'), "an error is one line");
    if (kind == CommandLine::Run) {
        QCOMPARE(command.options.address, QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(command.options.port, 0);
        QCOMPARE(command.options.database, u"sqlite:x"_s);
        QCOMPARE(command.options.registrationLimit, registrationsPerMinute);
    }
}

void TestHomepageRules::optionsForTheServer()
{
    const CommandLine command = readCommandLine(
        {u"suiranjuku-homepage"_s, u"--registration-limit=0"_s, u"--trusted-proxy=10.0.0.1"_s,
         u"--trusted-proxy=::1"_s, u"--idle-timeout=5"_s, u"--database-password-file=/run/secret"_s});
    QCOMPARE(int(command.kind), int(CommandLine::Run));
    QCOMPARE(command.options.registrationLimit, 0);
    QCOMPARE(command.options.trustedProxies, (QList<QHostAddress>{QHostAddress(u"10.0.0.1"_s), QHostAddress(u"::1"_s)}));
    QCOMPARE(command.options.idleLimit, 5s);
    QCOMPARE(command.options.passwordFile, u"/run/secret"_s);
    const Options defaults = readCommandLine({u"suiranjuku-homepage"_s}).options;
    QCOMPARE(defaults.trustedProxies, QList<QHostAddress>());
    QCOMPARE(defaults.idleLimit, defaultIdleLimit);
    QCOMPARE(defaults.passwordFile, QString());
}

void TestHomepageRules::clientBehindProxies_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QByteArray>("forwardedFor");
    QTest::addColumn<QStringList>("trusted");
    QTest::addColumn<QString>("client");
    const QStringList proxy{u"10.0.0.1"_s};
    const QStringList twoProxies{u"10.0.0.1"_s, u"10.0.0.2"_s};

    QTest::newRow("no proxies: the peer") << u"198.51.100.1"_s << "203.0.113.9"_ba << QStringList()
                                          << u"198.51.100.1"_s;
    QTest::newRow("a peer that is not the proxy") << u"198.51.100.1"_s << "203.0.113.9"_ba << proxy
                                                  << u"198.51.100.1"_s;
    QTest::newRow("behind the proxy") << u"10.0.0.1"_s << "203.0.113.9"_ba << proxy << u"203.0.113.9"_s;
    QTest::newRow("the right-most entry, not what the client wrote")
        << u"10.0.0.1"_s << "198.51.100.7, 203.0.113.9"_ba << proxy << u"203.0.113.9"_s;
    QTest::newRow("two proxies in a row") << u"10.0.0.1"_s << "203.0.113.9, 10.0.0.2"_ba << twoProxies
                                          << u"203.0.113.9"_s;
    QTest::newRow("only proxies: the left-most") << u"10.0.0.1"_s << "10.0.0.2"_ba << twoProxies << u"10.0.0.2"_s;
    QTest::newRow("no header: the proxy itself") << u"10.0.0.1"_s << QByteArray() << proxy << u"10.0.0.1"_s;
    QTest::newRow("an entry that is no address: the proxy")
        << u"10.0.0.1"_s << "203.0.113.9, unknown"_ba << proxy << u"10.0.0.1"_s;
    QTest::newRow("IPv4 with a port") << u"10.0.0.1"_s << "203.0.113.9:4711"_ba << proxy << u"203.0.113.9"_s;
    QTest::newRow("IPv6 in brackets with a port") << u"10.0.0.1"_s << "[2001:db8::7]:4711"_ba << proxy
                                                  << u"2001:db8::7"_s;
    QTest::newRow("IPv6 bare") << u"10.0.0.1"_s << "2001:db8::7"_ba << proxy << u"2001:db8::7"_s;
    QTest::newRow("the proxy seen through IPv6") << u"::ffff:10.0.0.1"_s << "203.0.113.9"_ba << proxy
                                                 << u"203.0.113.9"_s;
    QTest::newRow("spaces around entries") << u"10.0.0.1"_s << " 203.0.113.9 ,10.0.0.2 "_ba << twoProxies
                                           << u"203.0.113.9"_s;
}

void TestHomepageRules::clientBehindProxies()
{
    QFETCH(QString, peer);
    QFETCH(QByteArray, forwardedFor);
    QFETCH(QStringList, trusted);
    QFETCH(QString, client);
    QList<QHostAddress> proxies;
    for (const QString &address : trusted)
        proxies.append(QHostAddress(address));
    QCOMPARE(clientAddress(QHostAddress(peer), forwardedFor, proxies), QHostAddress(client));
}

void TestHomepageRules::defaultDatabaseFollowsXdgDataHome()
{
    qputenv("XDG_DATA_HOME", "/srv/data");
    QCOMPARE(defaultDatabaseUrl(), u"sqlite:/srv/data/suiranjuku-homepage/results.sqlite"_s);
    const CommandLine command = readCommandLine({u"suiranjuku-homepage"_s});
    QCOMPARE(command.options.database, defaultDatabaseUrl());
    QCOMPARE(command.options.port, 8080);
    QCOMPARE(command.options.address, QHostAddress(QHostAddress::LocalHost));
}

void TestHomepageRules::limitCountsAMinutePerAddress()
{
    ScriptedClock clock;
    RateLimiter limiter(30, clock);
    const QHostAddress client(u"192.0.2.7"_s);
    for (int i = 0; i < 30; ++i) {
        QCOMPARE(limiter.admit(client), std::nullopt);
        clock.advance(1s);
    }
    // 30 s after the first: it leaves the minute in another 30 s.
    QCOMPARE(limiter.admit(client), std::optional<int>(30));
    QCOMPARE(limiter.admit(QHostAddress(u"::ffff:192.0.2.7"_s)), std::optional<int>(30));
    QCOMPARE(limiter.admit(QHostAddress(u"192.0.2.8"_s)), std::nullopt);
    clock.advance(29500ms);
    QCOMPARE(limiter.admit(client), std::optional<int>(1));
    clock.advance(500ms);
    QCOMPARE(limiter.admit(client), std::nullopt);
    QCOMPARE(limiter.admit(client), std::optional<int>(1));
    // Long idle: a whole minute's worth again.
    clock.advance(10min);
    for (int i = 0; i < 30; ++i)
        QCOMPARE(limiter.admit(client), std::nullopt);
    QCOMPARE(limiter.admit(client), std::optional<int>(60));
}

void TestHomepageRules::noLimitWhenZero()
{
    ScriptedClock clock;
    RateLimiter limiter(0, clock);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(limiter.admit(QHostAddress(QHostAddress::LocalHost)), std::nullopt);
}

void TestHomepageRules::wordList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the word as listed") << u"xbadx"_s << true;
    QTest::newRow("in capitals") << u"BAD"_s << true;
    QTest::newRow("full-width letters") << u"ｂａｄ"_s << true;
    QTest::newRow("mathematical bold letters") << u"𝐛𝐚𝐝"_s << true;
    QTest::newRow("spaces between the letters") << u"b a　d"_s << true;
    QTest::newRow("punctuation between the letters") << u"b.a-d!"_s << true;
    QTest::newRow("half-width katakana") << u"ﾊﾞｶ者"_s << true;
    QTest::newRow("a word with spaces in the list") << u"ひどいなまえ"_s << true;
    QTest::newRow("a comment is no word") << u"comment"_s << false;
    QTest::newRow("the letters apart by others") << u"bread"_s << false;
    QTest::newRow("hiragana for a katakana word") << u"ばか"_s << false;
}

void TestHomepageRules::wordList()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    QTemporaryDir folder;
    QFile file(folder.filePath(u"words"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u"# a comment\nbad\nバカ   # a word and a comment\n\nひどい なまえ\n"_s.toUtf8());
    file.close();
    WordList words;
    QString why;
    QVERIFY2(words.load(file.fileName(), why), qPrintable(why));
    QCOMPARE(words.size(), 3);
    QCOMPARE(words.refuses(name), refused);
    // A list that cannot be read keeps the one read before.
    QVERIFY(!words.load(folder.filePath(u"gone"_s), why));
    QCOMPARE(words.refuses(name), refused);
}

void TestHomepageRules::clientsCountedPerNetwork_data()
{
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("same");

    QTest::newRow("IPv4: each address") << u"192.0.2.7"_s << u"192.0.2.8"_s << false;
    QTest::newRow("IPv4 seen through IPv6") << u"::ffff:192.0.2.7"_s << u"192.0.2.7"_s << true;
    // Guards against one home network of 2^64 addresses counting as 2^64 clients.
    QTest::newRow("IPv6: one /64") << u"2001:db8:1:2::1"_s << u"2001:db8:1:2:ffff:ffff:ffff:ffff"_s << true;
    QTest::newRow("IPv6: the next /64") << u"2001:db8:1:2::1"_s << u"2001:db8:1:3::1"_s << false;
}

void TestHomepageRules::clientsCountedPerNetwork()
{
    QFETCH(QString, one);
    QFETCH(QString, other);
    QFETCH(bool, same);
    QCOMPARE(countedAs(QHostAddress(one)) == countedAs(QHostAddress(other)), same);
    ScriptedClock clock;
    RateLimiter limiter(1, clock);
    QCOMPARE(limiter.admit(QHostAddress(one)), std::nullopt);
    QCOMPARE(limiter.admit(QHostAddress(other)).has_value(), same);
}

void TestHomepageRules::warningsAtMostOnceAMinute()
{
    // Guards against a client writing a line to the log with every request
    // (Qt's server warned once per websocket upgrade asked for).
    ScriptedClock clock;
    WarningThrottle throttle(clock);
    const auto passed = [&throttle](const QString &text) { return throttle.pass(text).value_or(u"(nothing)"_s); };
    QCOMPARE(passed(u"refused"_s), u"refused"_s);
    QCOMPARE(passed(u"refused"_s), u"(nothing)"_s);
    QCOMPARE(passed(u"out of files"_s), u"out of files"_s);
    clock.advance(59s);
    QCOMPARE(passed(u"refused"_s), u"(nothing)"_s);
    clock.advance(1s);
    QCOMPARE(passed(u"refused"_s), u"refused (and 2 more times in the last minute)"_s);
    clock.advance(60s);
    QCOMPARE(passed(u"refused"_s), u"refused"_s);
}

void TestHomepageRules::namesShowSomething_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("kept");

    // Guards against names that draw nothing, which showed as blank rows.
    QTest::newRow("Hangul filler") << u"\u3164"_s << false;
    QTest::newRow("half-width Hangul filler, twice") << u"\uFFA0\uFFA0"_s << false;
    QTest::newRow("blank braille") << u"\u2800"_s << false;
    QTest::newRow("a combining mark alone") << u"\u0301"_s << false;
    QTest::newRow("the combining grapheme joiner") << u"\u034F"_s << false;
    QTest::newRow("an unassigned code point") << u"ソラ\U0003FFFD"_s << false;
    QTest::newRow("a filler beside a letter") << u"\u3164ソ"_s << true;
    QTest::newRow("a letter with its mark") << u"e\u0301"_s << true;
    QTest::newRow("Hangul") << u"한글"_s << true;
}

void TestHomepageRules::namesShowSomething()
{
    QFETCH(QString, typed);
    QFETCH(bool, kept);
    QCOMPARE(submission::keptName(typed).has_value(), kept);
}

QTEST_GUILESS_MAIN(TestHomepageRules)
#include "tst_homepagerules.moc"
