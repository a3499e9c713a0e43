#pragma once

#include "homepage/Handler.h"
#include "homepage/Pages.h"
#include "homepage/Problems.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QUrlQuery>

#include <optional>
#include <utility>

class RateLimiter;
class ResultStore;
class StaticFiles;
class Metrics;
class WordList;

// The home page and its JSON interface: every route, every answer.
class Site final : public Handler {
public:
    // The largest body a request may carry.
    static constexpr qsizetype largestBody = 4096;

    // Pages kept for reading again until the hall of fame changes; past this
    // many different addresses, all are forgotten (a client can ask for any
    // number of them).
    static constexpr qsizetype cachedAnswers = 256;

    // `words`, when given, are refused in names; `metrics`, when given,
    // count every answer.
    Site(ResultStore &store, RateLimiter &limiter, const StaticFiles &files,
         const QList<QHostAddress> &trustedProxies = {}, const WordList *words = nullptr,
         Metrics *metrics = nullptr);

    // Answers requests that have all come in by now, in their order. Whether
    // the hall of fame has changed is asked once for them all (and again
    // after a registration among them): with the database a round trip
    // away, that is what keeps a page from the cache cheap. `revision`, when
    // given, is the answer to that question, asked after they came in.
    QList<Response> handle(const QList<Request> &requests, const QByteArray &revision = {}) override;
    Response handle(const Request &request);

    // Whether the answer is one kept until the hall of fame changes: only
    // such a request needs the question above asked for it.
    bool readsKeptAnswer(const Request &request) const override;
    // A registration or a withdrawal, which may change the hall of fame:
    // answered on the registrations' own connection.
    bool writes(const Request &request) const override;

private:
    struct Route;
    static const Route routes[];

    // The route for the request's method and path, and the part of the path
    // handed to it.
    static std::optional<std::pair<const Route *, QStringView>> routeFor(const Request &request);
    Response answer(const Request &request);
    Response dispatch(const Request &request);
    // The answer the route gives, as drawn the last time unless the hall of
    // fame has changed since.
    Response remembered(const Request &request, const Route &route, QStringView rest);
    // The hall of fame's revision now: what was kept under another goes.
    void remember(const QByteArray &revision);
    Response problem(const Request &request, Problem problem) const;
    void countAnswer(const Request &request, const Response &response, qint64 nanoseconds);

    Response home(const Request &request, QStringView);
    Response results(const Request &request, QStringView);
    Response entryPage(const Request &request, QStringView id);
    Response registrationForm(const Request &request, QStringView);
    Response registerFromForm(const Request &request, QStringView);
    Response apiResults(const Request &request, QStringView);
    Response apiRegister(const Request &request, QStringView);
    Response apiEntry(const Request &request, QStringView id);
    Response health(const Request &request, QStringView);
    Response withdrawalPage(const Request &request, QStringView token);
    Response withdrawEntry(const Request &request, QStringView token);
    // The entry's page for the player who has just registered it through
    // the form: with the withdrawal link, once, never kept for others.
    Response ownEntryPage(const Request &request, QStringView id, const QString &token);
    Response staticFile(const Request &request, QStringView name);

    // Whom the limit of registrations counts the request against.
    QHostAddress client(const Request &request) const;

    // The entry an address names by its number.
    std::optional<Entry> entryNamed(QStringView id);

    // What every registration goes through before its body is read: the
    // kind of body and its size.
    std::optional<Response> refuseBeforeReading(const Request &request, QByteArrayView type);

    ResultStore &store_;
    RateLimiter &limiter_;
    const StaticFiles &files_;
    const QList<QHostAddress> trustedProxies_;
    const WordList *const words_;
    Metrics *const metrics_;
    // The code of the problem the request in hand was refused with, if any.
    mutable QLatin1StringView refusal_;
    Pages pages_;
    struct {
        QByteArray revision;
        bool current = false;   // the revision asked for the requests in hand
        QHash<QString, Response> answers;   // by language, path and query
    } cache_;
};
