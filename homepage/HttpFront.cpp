#include "homepage/HttpFront.h"

#include "homepage/RevisionProbe.h"

#include <algorithm>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QMetaEnum>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Far more than any request of this site (a registration's body is refused
// over 4 KiB): a connection that sends more before it is answered is cut,
// rather than the whole of it being kept in memory.
constexpr qint64 largestRequest = 64 * 1024;

// Every status the site answers with.
const std::pair<int, const char *> reasons[] = {
    {200, "OK"},
    {201, "Created"},
    {303, "See Other"},
    {400, "Bad Request"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {413, "Content Too Large"},
    {415, "Unsupported Media Type"},
    {429, "Too Many Requests"},
    {503, "Service Unavailable"},
};

QByteArray reasonFor(int status)
{
    for (const auto &[known, reason] : reasons) {
        if (known == status)
            return QByteArray(reason);
    }
    return "Unknown"_ba;
}

// Counts what arrives on a connection until it is answered, and since when
// it has been quiet. Made before the HTTP server's own reader is connected,
// so it sees every chunk first.
class GuardedSocket final : public QTcpSocket {
public:
    explicit GuardedSocket(QObject *parent) : QTcpSocket(parent)
    {
        quietSince_.start();
        connect(this, &QTcpSocket::readyRead, this, [this] {
            // A request begins: it has as long to come in whole as an idle
            // connection has to begin one.
            if (unanswered_ == 0)
                quietSince_.start();
            unanswered_ += bytesAvailable();
            // Cut once the reader has had this chunk, not under its feet.
            if (unanswered_ > largestRequest)
                QMetaObject::invokeMethod(this, &QTcpSocket::abort, Qt::QueuedConnection);
        });
    }

    void answered()
    {
        unanswered_ = 0;
        quietSince_.start();
    }
    // A request coming in or waiting for its answer, or an answer still
    // being sent.
    bool inHand() const { return state() == ConnectedState && (unanswered_ > 0 || bytesToWrite() > 0); }
    bool quietFor(std::chrono::milliseconds span) const { return quietSince_.hasExpired(span.count()); }

private:
    qint64 unanswered_ = 0;
    QElapsedTimer quietSince_;
};

class GuardedServer final : public QTcpServer {
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new GuardedSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        // Every answer goes out whole in one write: nothing to gather.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        addPendingConnection(socket);
    }
};

// Every connection the servers have taken and not yet let go.
QList<GuardedSocket *> connectionsOf(const QList<QTcpServer *> &servers)
{
    QList<GuardedSocket *> connections;
    for (QTcpServer *server : servers) {
        for (QTcpSocket *socket : server->findChildren<QTcpSocket *>()) {
            if (auto *guarded = dynamic_cast<GuardedSocket *>(socket))
                connections.append(guarded);
        }
    }
    return connections;
}

} // namespace

HttpFront::HttpFront(Site &site, std::chrono::milliseconds idleLimit, RevisionProbe *probe, QObject *parent)
    : QAbstractHttpServer(parent), site_(site), idleLimit_(idleLimit), probe_(probe)
{
    if (probe_) {
        connect(probe_, &RevisionProbe::answered, this, [this](const QByteArray &revision) {
            answerWaiting(std::exchange(asked_, 0), revision);
            scheduleAnswers();
        });
    }
    auto *sweep = new QTimer(this);
    connect(sweep, &QTimer::timeout, this, &HttpFront::closeQuiet);
    sweep->start(std::max<std::chrono::milliseconds>(idleLimit / 4, std::chrono::milliseconds(100)));
}

quint16 HttpFront::listenOn(const QHostAddress &address, quint16 port, QString &error)
{
    auto *server = new GuardedServer(this);
    if (!server->listen(address, port)) {
        error = server->errorString();
        delete server;
        return 0;
    }
    bind(server);
    return server->serverPort();
}

void HttpFront::finish(std::chrono::milliseconds patience)
{
    for (QTcpServer *server : servers()) {
        // Connections that clients have made but that wait to be taken are
        // requests in hand too: closing would reset them.
        while (server->waitForNewConnection(0)) {
        }
        server->close();
        // What has arrived on each connection is read now, so that a request
        // begun counts as one in hand from the first poll on.
        for (QTcpSocket *socket : server->findChildren<QTcpSocket *>())
            socket->waitForReadyRead(0);
    }
    const QDeadlineTimer deadline(patience);
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll, deadline] {
        if (anyInHand() && !deadline.hasExpired())
            return;
        poll->stop();
        emit finished();
    });
    poll->start(std::chrono::milliseconds(10));
}

bool HttpFront::anyInHand() const
{
    if (!waiting_.isEmpty())
        return true;
    const QList<GuardedSocket *> open = connectionsOf(servers());
    return std::any_of(open.cbegin(), open.cend(), [](const GuardedSocket *socket) { return socket->inHand(); });
}

void HttpFront::closeQuiet()
{
    for (GuardedSocket *socket : connectionsOf(servers())) {
        if (!socket->quietFor(idleLimit_))
            continue;
        // Politely first; cut if that was already tried.
        if (socket->state() == QAbstractSocket::ClosingState)
            socket->abort();
        else
            socket->disconnectFromHost();
    }
}

bool HttpFront::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    Request asked{
        QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method()))).toUpper(),
        request.url().path(),
        request.query(),
        {},
        request.body(),
        request.remoteAddress(),
    };
    for (const auto &[name, value] : request.headers()) {
        QByteArray &kept = asked.headers[name.toLower()];
        kept = kept.isEmpty() ? value : kept + ", " + value;
    }
    waiting_.append({std::move(asked), socket});
    scheduleAnswers();
    return true;
}

void HttpFront::scheduleAnswers()
{
    if (asked_ > 0 || answerQueued_ || waiting_.isEmpty())
        return;
    // Only an answer kept until the hall of fame changes needs the question
    // asked first; a registration goes to the database anyway, a file or the
    // health check never reads the kept answers.
    const bool reading = std::any_of(waiting_.cbegin(), waiting_.cend(),
                                     [](const Waiting &one) { return Site::readsKeptAnswer(one.request); });
    if (probe_ && reading) {
        asked_ = waiting_.size();
        probe_->ask();
        return;
    }
    // Answered once every request that has come in with this one is read.
    answerQueued_ = true;
    QMetaObject::invokeMethod(this, [this] {
        answerQueued_ = false;
        answerWaiting(waiting_.size(), {});
        scheduleAnswers();
    }, Qt::QueuedConnection);
}

void HttpFront::answerWaiting(qsizetype count, const QByteArray &revision)
{
    const QList<Waiting> waiting = waiting_.first(count);
    waiting_.remove(0, count);
    QList<Request> requests;
    requests.reserve(waiting.size());
    for (const Waiting &one : waiting)
        requests.append(one.request);
    const QList<Response> responses = site_.handle(requests, revision);
    for (qsizetype i = 0; i < waiting.size(); ++i) {
        QTcpSocket *socket = waiting[i].socket;
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            send(*socket, waiting[i].request, responses[i]);
    }
}

void HttpFront::send(QTcpSocket &socket, const Request &request, const Response &response)
{
    if (auto *guarded = dynamic_cast<GuardedSocket *>(&socket))
        guarded->answered();
    // Qt's server keeps every connection open; a client that asks for it to
    // be closed would otherwise wait for the end of the answer in vain.
    const bool closing = request.header("connection").toLower().contains("close");
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonFor(response.status)
        + "\r\nContent-Type: " + response.type + "\r\nContent-Length: " + QByteArray::number(response.body.size())
        + "\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    if (closing)
        head += "Connection: close\r\n";
    head += "\r\n";
    // One write, one segment: an answer split in two would wait for the
    // client's delayed acknowledgement of the first part.
    if (request.method != "HEAD")
        head += response.body;
    socket.write(head);
    if (closing)
        socket.disconnectFromHost();
}

void HttpFront::missingHandler(const QHttpServerRequest &, QTcpSocket *)
{
    // Every request is handled by the site, which answers unknown addresses itself.
}
