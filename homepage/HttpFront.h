#pragma once

#include "homepage/Options.h"
#include "homepage/Handler.h"

#include <QHostAddress>
#include <QList>
#include <QObject>

#include <chrono>
#include <memory>

class Registrar;
class RevisionProbe;

// Carries HTTP between the network and a handler: the site, or the metrics.
// The network side (Boost Beast on Asio, on a thread of its own) reads and
// checks each request, refuses what HTTP/1.1 does not allow with an answer
// and a close, and writes the answers; it never waits for the handler or the
// database, so one slow request holds up only itself. The handler answers on
// this object's thread: the requests that come in together go to it together, and with a
// probe, once it has answered whether the hall of fame has changed, asked
// after they came in.
// A connection reads its next request only once its answer is sent, so a
// client that does not read its answers is not read further. One that stays
// quiet past the idle limit (idle between requests, or with a request that
// has not come in whole by then, or not reading an answer) is closed. On
// shutdown, the requests in hand are answered, with `Connection: close`.
class HttpFront final : public QObject {
    Q_OBJECT

public:
    // What the handler says writes goes to the registrar, when there is one.
    HttpFront(Handler &handler, const Options &options, RevisionProbe *probe = nullptr, Registrar *registrar = nullptr,
              QObject *parent = nullptr);
    ~HttpFront() override;

    // Listens on the address and port (0: one the system picks); the port
    // listened on, or 0 with the reason in `error`.
    quint16 listenOn(const QHostAddress &address, quint16 port, QString &error);

    // Stops taking connections, lets the requests already coming in be
    // answered and sent (for at most `patience`), then emits finished().
    void finish(std::chrono::milliseconds patience);

signals:
    void finished();

private:
    class Network;
    class Session;
    using Ticket = std::weak_ptr<Session>;
    struct Waiting {
        Request request;
        Ticket session;
    };

    // A request read whole, from the network's thread.
    void take(Request request, Ticket session);
    // Has the requests waiting answered: after the probe's answer when one
    // of them reads a page, else as soon as those that came in together are in.
    void scheduleAnswers();
    void answerWaiting(qsizetype count, const QByteArray &revision);
    void finishWhenDone();

    Handler &handler_;
    RevisionProbe *probe_;
    Registrar *registrar_;
    QList<Waiting> waiting_;
    qsizetype asked_ = 0;   // the requests the question in flight was asked for
    bool answerQueued_ = false;
    bool finishing_ = false;
    bool networkDone_ = false;   // finishing, and every connection is closed
    std::unique_ptr<Network> network_;
};
