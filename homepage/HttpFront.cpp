#include "homepage/HttpFront.h"

#include "homepage/Site.h"

#include <QDeadlineTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
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

// Counts what arrives on a connection until it is answered. Made before the
// HTTP server's own reader is connected, so it sees every chunk first.
class GuardedSocket final : public QTcpSocket {
public:
    explicit GuardedSocket(QObject *parent) : QTcpSocket(parent)
    {
        connect(this, &QTcpSocket::readyRead, this, [this] {
            unanswered_ += bytesAvailable();
            // Cut once the reader has had this chunk, not under its feet.
            if (unanswered_ > largestRequest)
                QMetaObject::invokeMethod(this, &QTcpSocket::abort, Qt::QueuedConnection);
        });
    }

    void answered() { unanswered_ = 0; }
    // A request coming in, or an answer still being sent.
    bool inHand() const { return state() == ConnectedState && (unanswered_ > 0 || bytesToWrite() > 0); }

private:
    qint64 unanswered_ = 0;
};

class GuardedServer final : public QTcpServer {
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new GuardedSocket(this);
        if (socket->setSocketDescriptor(descriptor))
            addPendingConnection(socket);
        else
            delete socket;
    }
};

} // namespace

HttpFront::HttpFront(Site &site, QObject *parent) : QAbstractHttpServer(parent), site_(site)
{
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
    for (QTcpServer *server : servers()) {
        for (QTcpSocket *socket : server->findChildren<QTcpSocket *>()) {
            const auto *guarded = dynamic_cast<GuardedSocket *>(socket);
            if (guarded && guarded->inHand())
                return true;
        }
    }
    return false;
}

bool HttpFront::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (auto *guarded = dynamic_cast<GuardedSocket *>(socket))
        guarded->answered();
    Request asked{
        QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method()))).toUpper(),
        request.url().path(),
        request.query(),
        {},
        request.body(),
        request.remoteAddress(),
    };
    for (const auto &[name, value] : request.headers())
        asked.headers.insert(name.toLower(), value);
    const Response response = site_.handle(asked);

    // Qt's server keeps every connection open; a client that asks for it to
    // be closed would otherwise wait for the end of the answer in vain.
    const bool closing = asked.header("connection").toLower().contains("close");
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(response.status));
    responder.writeHeader("Content-Type"_ba, response.type);
    responder.writeHeader("Content-Length"_ba, QByteArray::number(response.body.size()));
    for (const auto &[name, value] : response.headers)
        responder.writeHeader(name, value);
    if (closing)
        responder.writeHeader("Connection"_ba, "close"_ba);
    responder.writeBody(asked.method == "HEAD" ? QByteArray() : response.body);
    if (closing)
        socket->disconnectFromHost();
    return true;
}

void HttpFront::missingHandler(const QHttpServerRequest &, QTcpSocket *)
{
    // Every request is handled by the site, which answers unknown addresses itself.
}
