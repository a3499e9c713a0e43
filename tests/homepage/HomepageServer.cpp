#include "HomepageServer.h"

#include "rules/ResultCode.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QtNumeric>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int patienceMs = 20000;   // the sanitizer build starts slowly

QString program()
{
    return qEnvironmentVariable("SUIRANJUKU_HOMEPAGE");
}

// A connection, not yet open, to the database a URL of the server's names
// (the password from PGPASSWORD).
QSqlDatabase connectionTo(const QString &text, const QString &name)
{
    if (text.startsWith("sqlite:"_L1)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(text.mid(text.indexOf(u':') + 1));
        return db;
    }
    const QUrl url(text);
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
    db.setHostName(url.host());
    db.setPort(url.port());
    db.setUserName(url.userName());
    db.setDatabaseName(url.path().mid(1));
    return db;
}

// The scratch server's own connection, on which each test's role and schema
// are made and dropped.
QSqlDatabase administration()
{
    const QString name = u"test-administration"_s;
    if (QSqlDatabase::contains(name)) {
        // Still there, unless a test has restarted the server.
        if (QSqlDatabase db = QSqlDatabase::database(name); QSqlQuery(db).exec(u"SELECT 1"_s))
            return db;
        QSqlDatabase::removeDatabase(name);
    }
    const QString url = qEnvironmentVariable("SUIRAN_PG_URL");
    if (url.isEmpty())
        qFatal("SUIRAN_TEST_DATABASE=postgresql wants SUIRAN_PG_URL: run it through tools/scratch-postgres.sh");
    QSqlDatabase db = connectionTo(url, name);
    if (!db.open())
        qFatal("cannot reach the scratch PostgreSQL: %s", qPrintable(db.lastError().text()));
    QSqlQuery(db).exec(u"SET client_min_messages = warning"_s);
    return db;
}

bool execute(QSqlDatabase db, const QString &sql)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

} // namespace

bool TestDatabase::onPostgresql()
{
    const QString kind = qEnvironmentVariable("SUIRAN_TEST_DATABASE", u"sqlite"_s);
    if (kind != "sqlite"_L1 && kind != "postgresql"_L1)
        qFatal("SUIRAN_TEST_DATABASE: no such kind of database here: %s", qPrintable(kind));
    return kind == "postgresql"_L1;
}

TestDatabase::TestDatabase()
{
    if (!onPostgresql()) {
        // A name outside ASCII: the path goes through the command line, the
        // server's messages and SQLite whatever the locale, the runs with none
        // included, and must come back the same.
        url_ = u"sqlite:"_s + folder_.filePath(u"殿堂.sqlite"_s);
        return;
    }
    // A role per test, which sees its own schema first: the server's tables
    // land there, and the role logs in with the password the scratch
    // server's own role has, from PGPASSWORD.
    static int made = 0;
    role_ = u"test_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(++made);
    const QString password = qEnvironmentVariable("PGPASSWORD").replace(u'\'', u"''"_s);
    QSqlDatabase db = administration();
    execute(db, u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(role_, password));
    execute(db, u"CREATE SCHEMA %1 AUTHORIZATION %1"_s.arg(role_));
    execute(db, u"ALTER ROLE %1 SET search_path = %1"_s.arg(role_));
    QUrl url(qEnvironmentVariable("SUIRAN_PG_URL"));
    url.setUserName(role_);
    url_ = url.toString();
}

TestDatabase::~TestDatabase()
{
    if (role_.isEmpty())
        return;
    QSqlDatabase db = administration();
    // A server killed by its test may have left a session behind.
    execute(db, u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = '%1'"_s.arg(role_));
    execute(db, u"DROP SCHEMA %1 CASCADE"_s.arg(role_));
    execute(db, u"DROP ROLE %1"_s.arg(role_));
}

std::optional<QVariant> TestDatabase::value(const QString &sql) const
{
    const QString name = u"test-run"_s;
    std::optional<QVariant> answer;
    {
        QSqlDatabase db = connectionTo(url_, name);
        if (!db.open())
            qWarning("cannot open %s: %s", qPrintable(url_), qPrintable(db.lastError().text()));
        QSqlQuery query(db);
        if (db.isOpen() && query.exec(sql))
            answer = query.next() ? query.value(0) : QVariant();
        else if (db.isOpen())
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

bool TestDatabase::setReadOnly(bool readOnly)
{
    QSqlDatabase db = administration();
    // This connection stays writable, to set it back.
    return execute(db, u"SET default_transaction_read_only = off"_s)
        && execute(db, readOnly ? u"ALTER SYSTEM SET default_transaction_read_only = on"_s
                                : u"ALTER SYSTEM RESET default_transaction_read_only"_s)
        && execute(db, u"SELECT pg_reload_conf()"_s);
}

Exposition readExposition(const QByteArray &text)
{
    static const QRegularExpression line(
        u"^(?:# HELP ([a-zA-Z_:][a-zA-Z0-9_:]*) .+|# TYPE ([a-zA-Z_:][a-zA-Z0-9_:]*) "
         "(counter|gauge|histogram|summary|untyped)|([a-zA-Z_:][a-zA-Z0-9_:]*)"
         "(?:\\{((?:[a-zA-Z_][a-zA-Z0-9_]*=\"(?:[^\"\\\\\\n]|\\\\[\\\\\"n])*\",?)*)\\})? ([^ ]+))$"_s);
    static const QRegularExpression upperBound(u"le=\"([^\"]*)\""_s);
    Exposition read;
    QString family, type;
    QSet<QString> typed;
    double bound = -qInf(), below = 0;   // the histogram's last bucket
    bool counted = true;                 // the histogram's _count has come
    const auto fault = [&read](const char *why, const QString &where) {
        read.fault = QLatin1StringView(why) + u": "_s + where;
        return read;
    };
    const auto number = [](const QString &text, double &value) {
        bool ok = text == "+Inf"_L1;
        value = ok ? qInf() : text.toDouble(&ok);
        return ok;
    };
    if (!text.endsWith('\n'))
        return fault("no line end at the end", {});
    for (const QByteArray &bytes : text.chopped(1).split('\n')) {
        const QString written = QString::fromUtf8(bytes);
        const QRegularExpressionMatch found = line.match(written);
        if (!found.hasMatch())
            return fault("neither HELP, TYPE nor a sample", written);
        if (found.hasCaptured(1))
            continue;
        if (found.hasCaptured(2)) {
            if (typed.contains(found.captured(2)) || !counted)
                return fault("TYPE twice, or a histogram without its count", written);
            family = found.captured(2);
            typed.insert(family);
            type = found.captured(3);
            bound = -qInf();
            below = 0;
            counted = type != "histogram"_L1;
            continue;
        }
        const QString name = found.captured(4);
        const QString key = found.hasCaptured(5) ? name + u'{' + found.captured(5) + u'}' : name;
        double value = 0;
        if (!number(found.captured(6), value) || read.samples.contains(key))
            return fault("not a number, or a sample twice", written);
        read.samples.insert(key, value);
        const bool histogram = type == "histogram"_L1;
        const QString part = name == family                ? QString()
            : name.startsWith(family + u'_') ? name.sliced(family.size())
                                             : u"?"_s;
        double upper = 0;
        if (histogram && part == "_bucket"_L1) {
            if (!number(upperBound.match(found.captured(5)).captured(1), upper) || upper <= bound || value < below)
                return fault("a bucket out of order", written);
            bound = upper;
            below = value;
        } else if (histogram && part == "_count"_L1 && bound == qInf() && value == below) {
            counted = true;
        } else if (histogram ? part != "_sum"_L1 || bound != qInf() : !part.isEmpty()) {
            return fault("a sample outside its family, or a histogram's in the wrong place", written);
        }
    }
    if (!counted)
        return fault("a histogram without its count", family);
    return read;
}

QByteArray Reply::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

QJsonObject Reply::json() const
{
    return QJsonDocument::fromJson(body).object();
}

namespace {

QByteArray requestText(quint16 port, const QByteArray &method, const QByteArray &path, const Headers &headers,
                       const QByteArray &body)
{
    QByteArray head = method + ' ' + path + " HTTP/1.1\r\n";
    bool hostGiven = false;
    for (const auto &[name, value] : headers) {
        head += name + ": " + value + "\r\n";
        hostGiven = hostGiven || name.compare("host", Qt::CaseInsensitive) == 0;
    }
    if (!hostGiven)
        head += "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
    if (method == "POST")
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return head + "Connection: close\r\n\r\n" + body;
}

// The answer on a connection the server closes after it.
Reply receive(QTcpSocket &socket)
{
    QByteArray data;
    const QDeadlineTimer deadline(patienceMs);
    while (!deadline.hasExpired() && socket.waitForReadyRead(int(deadline.remainingTime())))
        data += socket.readAll();
    data += socket.readAll();

    Reply reply;
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return reply;
    const QList<QByteArray> lines = data.left(end).split('\n');
    reply.status = lines.first().split(' ').value(1).toInt();
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        reply.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    reply.body = data.mid(end + 4);
    return reply;
}

} // namespace

Reply request(quint16 port, const QByteArray &method, const QByteArray &path, const Headers &headers,
              const QByteArray &body, const QHostAddress &from)
{
    QTcpSocket socket;
    if (from != QHostAddress(QHostAddress::LocalHost))
        socket.bind(from);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(patienceMs))
        return {};
    socket.write(requestText(port, method, path, headers, body));
    return receive(socket);
}

QList<Reply> postJsonAtOnce(const QList<quint16> &ports, const QByteArray &body)
{
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (quint16 port : ports) {
        sockets.push_back(std::make_unique<QTcpSocket>());
        sockets.back()->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        sockets.back()->waitForConnected(patienceMs);
    }
    // Only once every connection stands is anything sent.
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        sockets[i]->write(requestText(ports[i], "POST", "/api/results", {{"Content-Type", "application/json"}}, body));
        sockets[i]->flush();
    }
    QList<Reply> replies;
    for (const auto &socket : sockets)
        replies.append(receive(*socket));
    return replies;
}

Run runHomepage(const QStringList &arguments, bool unprivileged)
{
    // Without --database the program opens the user's own hall of fame,
    // under XDG_DATA_HOME: a test must never touch (or trip over) that one.
    QTemporaryDir dataHome;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, dataHome.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    if (unprivileged && ::geteuid() == 0)
        process.start(u"setpriv"_s, QStringList{u"--reuid=nobody"_s, u"--regid=nogroup"_s, u"--clear-groups"_s,
                                                u"--"_s, program()} + arguments);
    else
        process.start(program(), arguments);
    if (!process.waitForFinished(patienceMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

HomepageServer::HomepageServer(const QString &databaseUrl, const QStringList &options,
                               const QProcessEnvironment &environment)
    : database_(databaseUrl), options_(options)
{
    process_.setProcessEnvironment(environment);
}

HomepageServer::~HomepageServer()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(patienceMs);
    }
}

void HomepageServer::launch()
{
    process_.start(program(), QStringList{u"--listen"_s, u"127.0.0.1:0"_s, u"--database"_s, database_} + options_);
}

bool HomepageServer::waitUntilListening()
{
    const QDeadlineTimer deadline(patienceMs);
    const auto nextLine = [this, &deadline] {
        while (!process_.canReadLine()) {
            if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
                return QString();
        }
        return QString::fromUtf8(process_.readLine());
    };
    // The metrics' address, when asked for, comes first.
    static const QRegularExpression metrics(u"^metrics on http://127\\.0\\.0\\.1:(\\d+)/metrics\n$"_s);
    QString line = nextLine();
    if (const QRegularExpressionMatch match = metrics.match(line); match.hasMatch()) {
        metricsPort_ = match.captured(1).toUShort();
        line = nextLine();
    }
    static const QRegularExpression listening(u"^listening on http://127\\.0\\.0\\.1:(\\d+)/\n$"_s);
    const QRegularExpressionMatch match = listening.match(line);
    port_ = match.hasMatch() ? match.captured(1).toUShort() : 0;
    return port_ != 0;
}

void HomepageServer::signal(int signal)
{
    // Guards against kill(0, ...) when it is not running: that would signal ctest's whole process group.
    if (const pid_t pid = pid_t(process_.processId()); pid > 0)
        ::kill(pid, signal);
}

int HomepageServer::waitForExit()
{
    if (!process_.waitForFinished(patienceMs))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString HomepageServer::errors()
{
    errors_ += QString::fromUtf8(process_.readAllStandardError());
    return errors_;
}

Reply HomepageServer::get(const QByteArray &path, const QHostAddress &from) const
{
    return request(port_, "GET", path, {}, {}, from);
}

Reply HomepageServer::postJson(const QByteArray &body, const QHostAddress &from) const
{
    return request(port_, "POST", "/api/results", {{"Content-Type", "application/json"}}, body, from);
}

Reply HomepageServer::postForm(const QByteArray &body, const Headers &headers, const QHostAddress &from) const
{
    Headers all{{"Content-Type", "application/x-www-form-urlencoded"}};
    all.append(headers);
    return request(port_, "POST", "/register", all, body, from);
}

QByteArray registration(const QString &name, const QString &code)
{
    return QJsonDocument(QJsonObject{{u"name"_s, name}, {u"code"_s, code}}).toJson(QJsonDocument::Compact);
}

Reply HomepageServer::registerEntry(const QString &name, const QString &code, const QHostAddress &from) const
{
    return postJson(registration(name, code), from);
}

RegistrationLoad::RegistrationLoad(quint16 port, int connections, int most) : most_(most)
{
    for (int i = 0; i < connections; ++i) {
        auto connection = std::make_unique<Connection>();
        connection->socket = std::make_unique<QTcpSocket>();
        QTcpSocket *socket = connection->socket.get();
        Connection *raw = connection.get();
        QObject::connect(socket, &QTcpSocket::connected, socket, [this, raw] { sendNext(*raw); });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, raw] { read(*raw); });
        socket->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        connections_.push_back(std::move(connection));
    }
}

RegistrationLoad::~RegistrationLoad()
{
    stop();
}

void RegistrationLoad::stop()
{
    stopped_ = true;
    for (const auto &connection : connections_)
        connection->socket->abort();
}

void RegistrationLoad::sendNext(Connection &connection)
{
    if (stopped_ || sent_ >= most_)
        return;
    const int n = ++sent_;
    // Every days value a code can carry is somewhere among them.
    const QByteArray body = registration(u"負荷%1"_s.arg(n), resultcode::make(100 + n % 800, 5));
    connection.asked.start();
    connection.socket->write("POST /api/results HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                             "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

void RegistrationLoad::read(Connection &connection)
{
    connection.received += connection.socket->readAll();
    const qsizetype end = connection.received.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    static const QRegularExpression length(u"\r\ncontent-length: *(\\d+)"_s, QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = length.match(QString::fromLatin1(connection.received.left(end)));
    const qsizetype whole = end + 4 + (found.hasMatch() ? found.captured(1).toLongLong() : 0);
    if (connection.received.size() < whole)
        return;
    slowest_ = std::max(slowest_, connection.asked.elapsed());
    const int status = connection.received.split(' ').value(1).toInt();
    const QJsonObject answer = QJsonDocument::fromJson(connection.received.sliced(end + 4, whole - end - 4)).object();
    if (status == 0 || answer.isEmpty())
        ++garbled_;
    ++statuses_[status];
    if (status == 201)
        created_.append(answer);
    if (status == 503)
        unavailable_ = answer[u"message"_s].toString();
    connection.received.remove(0, whole);
    // Refused, it tries again a little later: an outage is not a flood.
    if (status == 201)
        sendNext(connection);
    else
        QTimer::singleShot(std::chrono::milliseconds(50), connection.socket.get(), [this, &connection] { sendNext(connection); });
}
