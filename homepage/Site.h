#pragma once

#include "homepage/Pages.h"
#include "homepage/Problems.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QUrlQuery>

#include <utility>

class RateLimiter;
class ResultStore;
class StaticFiles;

// A request as the site reads it, whatever server carried it.
struct Request {
    QByteArray method;   // GET, HEAD, POST ...
    QString path;
    QUrlQuery query;
    QHash<QByteArray, QByteArray> headers;   // names in lower case
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

// The home page and its JSON interface: every route, every answer.
class Site {
public:
    // The largest body a request may carry.
    static constexpr qsizetype largestBody = 4096;

    Site(ResultStore &store, RateLimiter &limiter, const StaticFiles &files);

    Response handle(const Request &request);

private:
    struct Route;
    static const Route routes[];

    Response dispatch(const Request &request);
    Response problem(const Request &request, Problem problem) const;

    Response home(const Request &request, QStringView);
    Response results(const Request &request, QStringView);
    Response entryPage(const Request &request, QStringView id);
    Response registrationForm(const Request &request, QStringView);
    Response registerFromForm(const Request &request, QStringView);
    Response apiResults(const Request &request, QStringView);
    Response apiRegister(const Request &request, QStringView);
    Response apiEntry(const Request &request, QStringView id);
    Response health(const Request &request, QStringView);
    Response staticFile(const Request &request, QStringView name);

    // The entry an address names by its number.
    std::optional<Entry> entryNamed(QStringView id);

    // What every registration goes through before its body is read: the
    // kind of body and its size.
    std::optional<Response> refuseBeforeReading(const Request &request, QByteArrayView type);

    ResultStore &store_;
    RateLimiter &limiter_;
    const StaticFiles &files_;
    Pages pages_;
};
