#pragma once

#include "homepage/Site.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QList>
#include <QPointer>

#include <chrono>

class QTcpSocket;
class RevisionProbe;

// Carries HTTP between the network and the site. The requests that come in
// together go to the site together, right after, and their answers back.
// With a probe, they go once it has answered whether the hall of fame has
// changed, asked after they came in; the next requests come in meanwhile.
// It also keeps a connection from piling up an endless request, closes one
// that stays quiet past `idleLimit` (idle between requests, or with a request
// that has not come in whole by then), and on shutdown lets the requests in
// hand be answered.
class HttpFront final : public QAbstractHttpServer {
    Q_OBJECT

public:
    HttpFront(Site &site, std::chrono::milliseconds idleLimit, RevisionProbe *probe = nullptr,
              QObject *parent = nullptr);

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
    struct Waiting {
        Request request;
        QPointer<QTcpSocket> socket;   // gone when the client left meanwhile
    };

    // Has the requests waiting answered: after the probe's answer when one
    // of them reads a page, else as soon as those that came in together are in.
    void scheduleAnswers();
    void answerWaiting(qsizetype count, const QByteArray &revision);
    static void send(QTcpSocket &socket, const Request &request, const Response &response);
    void closeQuiet();
    bool anyInHand() const;

    Site &site_;
    const std::chrono::milliseconds idleLimit_;
    RevisionProbe *probe_;
    QList<Waiting> waiting_;
    qsizetype asked_ = 0;   // the requests the question in flight was asked for
    bool answerQueued_ = false;
};
