#pragma once

#include <QAbstractHttpServer>
#include <QHostAddress>

#include <chrono>

class Site;

// Carries HTTP between the network and the site: each request whole to the
// site, each answer back. It also keeps a connection from piling up an
// endless request, and on shutdown lets the requests in hand be answered.
class HttpFront final : public QAbstractHttpServer {
    Q_OBJECT

public:
    explicit HttpFront(Site &site, QObject *parent = nullptr);

    // Listens on the address and port (0: one the system picks); the port
    // listened on, or 0 with the reason in `error`.
    quint16 listenOn(const QHostAddress &address, quint16 port, QString &error);

    // Stops taking connections, lets the requests already coming in be
    // answered and sent (for at most `patience`), then emits finished().
    void finish(std::chrono::milliseconds patience);

signals:
    void finished();

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    bool anyInHand() const;

    Site &site_;
};
