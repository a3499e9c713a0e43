#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QUrlQuery>

#include <utility>

// A request as the site reads it, whatever server carried it.
struct Request {
    QByteArray method;   // GET, HEAD, POST ...
    QString path;
    QUrlQuery query;
    // Names in lower case; the values of a header sent more than once are
    // joined with commas, in the order sent.
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
    QHostAddress client;

    QByteArray header(const QByteArray &lowerCaseName) const { return headers.value(lowerCaseName); }
};

struct Response {
    int status = 200;
    QByteArray type;   // Content-Type
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// What answers the requests an HttpFront reads: the site on its public
// address, the metrics on theirs.
class Handler {
public:
    virtual ~Handler() = default;

    // Answers requests that have all come in by now, in their order;
    // `revision`, when given, is the hall of fame's revision asked after
    // they came in.
    virtual QList<Response> handle(const QList<Request> &requests, const QByteArray &revision = {}) = 0;
    // Whether the answer is one kept until the hall of fame changes: only
    // such a request needs the revision asked for it.
    virtual bool readsKeptAnswer(const Request &) const { return false; }
    // Whether the request goes to the registrations' own connection.
    virtual bool writes(const Request &) const { return false; }
};
