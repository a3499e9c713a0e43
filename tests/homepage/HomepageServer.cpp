#include "HomepageServer.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTcpSocket>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr int patienceMs = 20000;   // the sanitizer build starts slowly

QString program()
{
    return qEnvironmentVariable("SUIRANJUKU_HOMEPAGE");
}

} // namespace

TestDatabase::TestDatabase()
{
    const QString kind = qEnvironmentVariable("SUIRAN_TEST_DATABASE", u"sqlite"_s);
    if (kind != "sqlite"_L1)
        qFatal("SUIRAN_TEST_DATABASE: no such kind of database here: %s", qPrintable(kind));
    url_ = u"sqlite:"_s + folder_.filePath(u"results.sqlite"_s);
}

QString TestDatabase::sqliteFile() const
{
    return url_.startsWith("sqlite:"_L1) ? url_.mid(7) : QString();
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

Reply request(quint16 port, const QByteArray &method, const QByteArray &path, const Headers &headers,
              const QByteArray &body, const QHostAddress &from)
{
    QTcpSocket socket;
    if (from != QHostAddress(QHostAddress::LocalHost))
        socket.bind(from);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(patienceMs))
        return {};
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
    socket.write(head + "Connection: close\r\n\r\n" + body);

    // The server closes the connection after its answer.
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

Run runHomepage(const QStringList &arguments)
{
    QProcess process;
    process.start(program(), arguments);
    if (!process.waitForFinished(patienceMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

HomepageServer::HomepageServer(const QString &databaseUrl) : database_(databaseUrl)
{
}

HomepageServer::~HomepageServer()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(patienceMs);
    }
}

bool HomepageServer::start()
{
    process_.start(program(), {u"--listen"_s, u"127.0.0.1:0"_s, u"--database"_s, database_});
    const QDeadlineTimer deadline(patienceMs);
    while (!process_.canReadLine()) {
        if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    static const QRegularExpression listening(u"^listening on http://127\\.0\\.0\\.1:(\\d+)/\n$"_s);
    const QRegularExpressionMatch match = listening.match(QString::fromUtf8(process_.readLine()));
    port_ = match.hasMatch() ? match.captured(1).toUShort() : 0;
    return port_ != 0;
}

void HomepageServer::signal(int signal)
{
    ::kill(pid_t(process_.processId()), signal);
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

Reply HomepageServer::registerEntry(const QString &name, const QString &code, const QHostAddress &from) const
{
    return postJson(QJsonDocument(QJsonObject{{u"name"_s, name}, {u"code"_s, code}}).toJson(), from);
}
