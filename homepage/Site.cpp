#include "homepage/Site.h"

#include "homepage/AcceptLanguage.h"
#include "homepage/ClientAddress.h"
#include "homepage/Metrics.h"
#include "homepage/Pager.h"
#include "homepage/RateLimiter.h"
#include "homepage/ResultStore.h"
#include "homepage/StaticFiles.h"
#include "homepage/Submission.h"
#include "homepage/WordList.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

struct Site::Route {
    // What the answer has to do with the hall of fame.
    enum Kind {
        Kept,        // drawn from it alone: kept until it changes
        Registers,   // may change it
        Apart,       // nothing
    };
    QByteArrayView method;
    QLatin1StringView path;   // a trailing "/*" takes one more segment, handed to the handler
    Response (Site::*handle)(const Request &, QStringView);
    Kind kind;
};

const Site::Route Site::routes[] = {
    {"GET", "/"_L1, &Site::home, Route::Kept},
    {"GET", "/results"_L1, &Site::results, Route::Kept},
    {"GET", "/results/*"_L1, &Site::entryPage, Route::Kept},
    {"GET", "/register"_L1, &Site::registrationForm, Route::Apart},
    {"POST", "/register"_L1, &Site::registerFromForm, Route::Registers},
    {"GET", "/api/results"_L1, &Site::apiResults, Route::Kept},
    {"POST", "/api/results"_L1, &Site::apiRegister, Route::Registers},
    {"GET", "/api/results/*"_L1, &Site::apiEntry, Route::Kept},
    {"GET", "/healthz"_L1, &Site::health, Route::Apart},
    {"GET", "/withdraw/*"_L1, &Site::withdrawalPage, Route::Apart},
    {"POST", "/withdraw/*"_L1, &Site::withdrawEntry, Route::Registers},
    {"GET", "/static/*"_L1, &Site::staticFile, Route::Apart},
};

namespace {

const QByteArray htmlType = "text/html; charset=utf-8"_ba;
const QByteArray jsonType = "application/json; charset=utf-8"_ba;
const QByteArray textType = "text/plain; charset=utf-8"_ba;

// On every answer. No script may run at all, styles and pictures come from
// this site alone, and forms post only to it.
const std::pair<QByteArray, QByteArray> everyAnswer[] = {
    {"Content-Security-Policy"_ba,
     "default-src 'none'; img-src 'self'; style-src 'self'; form-action 'self'; base-uri 'none'; "
     "frame-ancestors 'none'"_ba},
    {"X-Content-Type-Options"_ba, "nosniff"_ba},
    {"Referrer-Policy"_ba, "same-origin"_ba},
};

std::optional<QStringView> matchPath(QLatin1StringView pattern, QStringView path)
{
    if (pattern.endsWith("/*"_L1)) {
        const QLatin1StringView prefix = pattern.chopped(1);
        if (!path.startsWith(prefix))
            return std::nullopt;
        const QStringView rest = path.sliced(prefix.size());
        if (rest.isEmpty() || rest.contains(u'/'))
            return std::nullopt;
        return rest;
    }
    if (path != pattern)
        return std::nullopt;
    return QStringView();
}

Response html(int status, const QString &page)
{
    return {status, htmlType, page.toUtf8(), {}};
}

// Compact JSON in which no <, > or & can close or open markup, should a
// client ever put it into a page.
Response json(int status, const QJsonObject &object)
{
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    bytes.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    return {status, jsonType, bytes, {}};
}

Response seeOther(const QString &location)
{
    Response response = html(303, u"<!DOCTYPE html><a href=\"%1\">%1</a>"_s.arg(location));
    response.headers.append({"Location"_ba, location.toUtf8()});
    return response;
}

// A refusal past the limit a minute, saying when to come back.
Response retryAfter(Response response, int seconds)
{
    response.headers.append({"Retry-After"_ba, QByteArray::number(seconds)});
    return response;
}

QJsonObject entryJson(const Entry &entry)
{
    return {
        {u"id"_s, entry.id},
        {u"name"_s, entry.name},
        {u"days"_s, entry.days},
        {u"rank"_s, entry.rank},
        {u"registered"_s,
         QDateTime::fromMSecsSinceEpoch(entry.registered).toUTC().toString(Qt::ISODate)},
    };
}

// The reader a request is answered for: in the language its address chooses
// with lang=, else in the one its browser prefers.
Reader readerOf(const Request &request)
{
    Reader reader{Language::Japanese, false, request.path, request.query};
    const QString chosen = request.query.queryItemValue(u"lang"_s);
    reader.query.removeAllQueryItems(u"lang"_s);
    if (chosen == "ja"_L1 || chosen == "en"_L1) {
        reader.chosen = true;
        reader.language = chosen == "en"_L1 ? Language::English : Language::Japanese;
    } else {
        reader.language = languageFor(acceptedLanguages(request.header("accept-language")));
    }
    return reader;
}

// A withdrawal token: 128 random bits, as an address carries them.
QString newToken()
{
    QByteArray bytes(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

bool wellFormedToken(QStringView token)
{
    return token.size() == 22 && std::all_of(token.begin(), token.end(), [](QChar c) {
               return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
                   || c == u'_';
           });
}

// What the store keeps of a token: its hash alone, so that a copy of the
// database withdraws nothing.
QByteArray tokenHash(QStringView token)
{
    return QCryptographicHash::hash(token.toLatin1(), QCryptographicHash::Sha256).toHex();
}

QString withdrawalPath(const QString &token)
{
    return u"/withdraw/"_s + token;
}

// The cookie that carries a new entry's token from the form's answer to the
// entry's page, and only there.
constexpr QByteArrayView tokenCookie = "withdraw";

QByteArray cookieFor(qint64 id, const QString &token)
{
    return tokenCookie.toByteArray() + '=' + token.toLatin1() + "; Path=/results/" + QByteArray::number(id)
        + "; Max-Age=" + (token.isEmpty() ? "0" : "600") + "; HttpOnly; SameSite=Strict";
}

QString cookieToken(const Request &request)
{
    for (const QByteArray &pair : request.header("cookie").split(';')) {
        const QByteArray trimmed = pair.trimmed();
        if (trimmed.startsWith(tokenCookie.toByteArray() + '='))
            return QString::fromLatin1(trimmed.sliced(tokenCookie.size() + 1));
    }
    return {};
}

QByteArray mediaType(const Request &request)
{
    return request.header("content-type").split(';').first().trimmed().toLower();
}

// A form post made on another site's page, which a player's browser may be
// made to send: its Origin names a host other than the one it was sent to.
// Without an Origin (no browser, or an old one) there is nothing to compare.
bool fromAnotherSite(const Request &request)
{
    const QByteArray origin = request.header("origin");
    if (origin.isEmpty())
        return false;
    const QString authority = QUrl(QString::fromLatin1(origin)).authority(QUrl::FullyEncoded);
    return authority.isEmpty()
        || authority.compare(QString::fromLatin1(request.header("host")), Qt::CaseInsensitive) != 0;
}

// The first value of a field of a form's body; empty when it is missing,
// nothing when it is not UTF-8.
std::optional<QString> formField(const QByteArray &body, QByteArrayView name)
{
    for (const QByteArray &pair : body.split('&')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = QByteArray::fromPercentEncoding(pair.left(equals < 0 ? pair.size() : equals));
        if (key != name)
            continue;
        QByteArray value = equals < 0 ? QByteArray() : pair.sliced(equals + 1);
        value = QByteArray::fromPercentEncoding(value.replace('+', ' '));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(value);
        if (utf8.hasError())
            return std::nullopt;
        return text;
    }
    return QString();
}

// A number in the address: the default when it is not there, nothing when it
// is not a whole number from `lowest` to `highest`.
std::optional<qint64> parameter(const Request &request, const QString &key, qint64 absent, qint64 lowest,
                                qint64 highest = std::numeric_limits<qint64>::max())
{
    if (!request.query.hasQueryItem(key))
        return absent;
    const std::optional<qint64> value =
        submission::wholeNumber(request.query.queryItemValue(key, QUrl::FullyDecoded));
    if (!value || *value < lowest || *value > highest)
        return std::nullopt;
    return value;
}

} // namespace

Site::Site(ResultStore &store, RateLimiter &limiter, const StaticFiles &files,
           const QList<QHostAddress> &trustedProxies, const WordList *words, Metrics *metrics)
    : store_(store), limiter_(limiter), files_(files), trustedProxies_(trustedProxies), words_(words),
      metrics_(metrics), pages_(files)
{
}

QList<Response> Site::handle(const QList<Request> &requests, const QByteArray &revision)
{
    cache_.current = false;
    if (!revision.isEmpty())
        remember(revision);
    QList<Response> responses;
    responses.reserve(requests.size());
    for (const Request &request : requests)
        responses.append(answer(request));
    return responses;
}

Response Site::handle(const Request &request)
{
    return handle(QList<Request>{request}).constFirst();
}

Response Site::answer(const Request &request)
{
    QElapsedTimer timer;
    timer.start();
    refusal_ = {};
    Response response;
    try {
        response = dispatch(request);
    } catch (const StoreError &error) {
        if (!error.logged())
            qWarning("%s", error.what());
        response = problem(request, Problem::Unavailable);
    }
    if (metrics_)
        countAnswer(request, response, timer.nsecsElapsed());
    // What is written in the language the browser asked for, caches keep
    // apart by the languages asked for.
    const bool written = response.type == htmlType || (response.type == jsonType && response.status >= 400);
    if (written && !readerOf(request).chosen)
        response.headers.append({"Vary"_ba, "Accept-Language"_ba});
    for (const auto &header : everyAnswer)
        response.headers.append(header);
    const bool kept = std::any_of(response.headers.cbegin(), response.headers.cend(),
                                  [](const auto &header) { return header.first == "Cache-Control"; });
    // Every page may change with the next registration.
    if (!kept)
        response.headers.append({"Cache-Control"_ba, "no-cache"_ba});
    return response;
}

std::optional<std::pair<const Site::Route *, QStringView>> Site::routeFor(const Request &request)
{
    const QByteArrayView method = request.method == "HEAD" ? "GET" : QByteArrayView(request.method);
    for (const Route &route : routes) {
        if (route.method != method)
            continue;
        if (const std::optional<QStringView> rest = matchPath(route.path, request.path))
            return std::pair{&route, *rest};
    }
    return std::nullopt;
}

bool Site::readsKeptAnswer(const Request &request) const
{
    const auto found = routeFor(request);
    return found && found->first->kind == Route::Kept;
}

bool Site::writes(const Request &request) const
{
    const auto found = routeFor(request);
    return found && found->first->kind == Route::Registers;
}

Response Site::dispatch(const Request &request)
{
    if (const auto found = routeFor(request)) {
        const auto [route, rest] = *found;
        if (route->handle == &Site::entryPage) {
            if (const QString token = cookieToken(request); !token.isEmpty())
                return ownEntryPage(request, rest, token);
        }
        if (route->kind == Route::Kept)
            return remembered(request, *route, rest);
        if (route->kind == Route::Registers)
            cache_.current = false;
        return (this->*route->handle)(request, rest);
    }
    QList<QByteArray> allowed;
    for (const Route &route : routes) {
        if (!matchPath(route.path, request.path))
            continue;
        allowed.append(route.method.toByteArray());
        if (route.method == "GET")
            allowed.append("HEAD"_ba);
    }
    if (allowed.isEmpty())
        return problem(request, Problem::NotFound);
    Response response = problem(request, Problem::MethodNotAllowed);
    response.headers.append({"Allow"_ba, allowed.join(", ")});
    return response;
}

Response Site::remembered(const Request &request, const Route &route, QStringView rest)
{
    // Asked after the request came in, so that whatever was registered
    // before it, through any server, is in the answer.
    if (!cache_.current)
        remember(store_.revision());
    const QString key = languageCode(readerOf(request).language) + u' ' + request.path + u'?'
        + request.query.query(QUrl::FullyEncoded);
    if (const auto found = cache_.answers.constFind(key); found != cache_.answers.cend()) {
        if (metrics_)
            metrics_->count(Metrics::KeptPages, {{"source"_ba, "kept"_ba}});
        return *found;
    }
    if (metrics_)
        metrics_->count(Metrics::KeptPages, {{"source"_ba, "drawn"_ba}});
    const Response response = (this->*route.handle)(request, rest);
    if (cache_.answers.size() >= cachedAnswers)
        cache_.answers.clear();
    cache_.answers.insert(key, response);
    return response;
}

void Site::remember(const QByteArray &revision)
{
    if (revision != cache_.revision) {
        cache_.answers.clear();
        cache_.revision = revision;
    }
    cache_.current = true;
}

QHostAddress Site::client(const Request &request) const
{
    return clientAddress(request.client, request.header("x-forwarded-for"), trustedProxies_);
}

void Site::countAnswer(const Request &request, const Response &response, qint64 nanoseconds)
{
    // Routes by their pattern, so that no client can make up new labels.
    const auto found = routeFor(request);
    const QByteArray route = found ? found->first->method.toByteArray() + ' ' + QByteArray(found->first->path.data(), found->first->path.size())
                                   : "other"_ba;
    metrics_->count(Metrics::Requests, {{"route"_ba, route}, {"status"_ba, QByteArray::number(response.status)}});
    if (found && (found->first->handle == &Site::apiRegister || found->first->handle == &Site::registerFromForm)) {
        const QByteArray outcome = response.status == 201 || response.status == 303 ? "created"_ba
            : response.status == 200                                                ? "repeated"_ba
            : !refusal_.isEmpty()                                                   ? QByteArray(refusal_.data(), refusal_.size())
                                                                                    : "refused"_ba;
        metrics_->count(Metrics::Registrations, {{"outcome"_ba, outcome}});
    }
    metrics_->observe(Metrics::Latency, double(nanoseconds) / 1e9);
}

Response Site::problem(const Request &request, Problem problem) const
{
    const ProblemText &text = describe(problem);
    refusal_ = text.code;
    const Reader reader = readerOf(request);
    if (request.path.startsWith("/api/"_L1))
        return json(text.status, {{u"error"_s, text.code}, {u"message"_s, text.in(reader.language).toString()}});
    return html(text.status, pages_.problem(reader, problem));
}

Response Site::home(const Request &request, QStringView)
{
    constexpr int leaders = 10;
    return html(200, pages_.home(readerOf(request), store_.page(0, leaders)));
}

Response Site::results(const Request &request, QStringView)
{
    const std::optional<qint64> number = parameter(request, u"page"_s, 1, 1);
    if (!number)
        return problem(request, Problem::BadPage);
    // A page far beyond the last one starts beyond every entry too.
    const qint64 offset = *number - 1 > std::numeric_limits<qint64>::max() / entriesPerPage
        ? std::numeric_limits<qint64>::max()
        : (*number - 1) * entriesPerPage;
    const ResultStore::Page page = store_.page(offset, entriesPerPage);
    if (*number > 1 && page.entries.isEmpty())
        return problem(request, Problem::NotFound);
    return html(200, pages_.results(readerOf(request), page, *number));
}

std::optional<Entry> Site::entryNamed(QStringView id)
{
    const std::optional<qint64> number = submission::wholeNumber(id);
    return number ? store_.find(*number) : std::nullopt;
}

Response Site::entryPage(const Request &request, QStringView id)
{
    const std::optional<Entry> entry = entryNamed(id);
    if (!entry)
        return problem(request, Problem::NotFound);
    return html(200, pages_.entry(readerOf(request), *entry));
}

Response Site::registrationForm(const Request &request, QStringView)
{
    return html(200, pages_.registration(readerOf(request), {}));
}

std::optional<Response> Site::refuseBeforeReading(const Request &request, QByteArrayView type)
{
    if (mediaType(request) != type)
        return problem(request, Problem::WrongType);
    if (request.body.size() > largestBody)
        return problem(request, Problem::TooLarge);
    return std::nullopt;
}

Response Site::registerFromForm(const Request &request, QStringView)
{
    if (fromAnotherSite(request))
        return problem(request, Problem::CrossSite);
    if (std::optional<Response> refused = refuseBeforeReading(request, "application/x-www-form-urlencoded"))
        return *refused;
    const std::optional<QString> typedName = formField(request.body, "name");
    const std::optional<QString> typedCode = formField(request.body, "code");
    FormState form{typedName.value_or(QString()), typedCode.value_or(QString()), {}, {}, {}};
    if (const std::optional<int> wait = limiter_.admit(client(request))) {
        form.formProblem = Problem::TooMany;
        return retryAfter(html(describe(Problem::TooMany).status, pages_.registration(readerOf(request), form)), *wait);
    }
    const std::optional<QString> name = typedName ? submission::keptName(*typedName) : std::nullopt;
    const QString code = submission::foldTypedCode(form.code);
    const std::variant<int, Problem> days =
        typedCode ? submission::daysOf(code) : std::variant<int, Problem>(Problem::BadCode);
    if (!name)
        form.nameProblem = Problem::BadName;
    else if (words_ && words_->refuses(*name))
        form.nameProblem = Problem::RefusedName;
    if (const Problem *problem = std::get_if<Problem>(&days))
        form.codeProblem = *problem;
    if (form.nameProblem || form.codeProblem)
        return html(400, pages_.registration(readerOf(request), form));
    const QString token = newToken();
    const ResultStore::Registration registration = store_.add(*name, code, std::get<int>(days), tokenHash(token));
    if (registration.hidden) {
        form.nameProblem = Problem::RefusedName;
        return html(400, pages_.registration(readerOf(request), form));
    }
    const Reader reader = readerOf(request);
    const QString kept = reader.chosen ? u"?lang="_s + languageCode(reader.language) : QString();
    Response response = seeOther(u"/results/"_s + QString::number(registration.entry.id) + kept);
    if (registration.created)
        response.headers.append({"Set-Cookie"_ba, cookieFor(registration.entry.id, token)});
    return response;
}

Response Site::apiResults(const Request &request, QStringView)
{
    constexpr int mostAtOnce = 100;
    const std::optional<qint64> offset = parameter(request, u"offset"_s, 0, 0);
    const std::optional<qint64> limit = parameter(request, u"limit"_s, entriesPerPage, 1, mostAtOnce);
    if (!offset || !limit)
        return problem(request, Problem::BadRange);
    const ResultStore::Page page = store_.page(*offset, static_cast<int>(*limit));
    QJsonArray entries;
    for (const Entry &entry : page.entries)
        entries.append(entryJson(entry));
    return json(200, {{u"total"_s, page.total}, {u"results"_s, entries}});
}

Response Site::apiRegister(const Request &request, QStringView)
{
    if (std::optional<Response> refused = refuseBeforeReading(request, "application/json"))
        return *refused;
    if (const std::optional<int> wait = limiter_.admit(client(request)))
        return retryAfter(problem(request, Problem::TooMany), *wait);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return problem(request, Problem::BadJson);
    const QJsonValue typedName = document[u"name"_s];
    const QJsonValue typedCode = document[u"code"_s];
    const std::optional<QString> name =
        typedName.isString() ? submission::keptName(typedName.toString()) : std::nullopt;
    if (!name)
        return problem(request, Problem::BadName);
    if (words_ && words_->refuses(*name))
        return problem(request, Problem::RefusedName);
    if (!typedCode.isString())
        return problem(request, Problem::BadCode);
    const QString code = typedCode.toString();
    const std::variant<int, Problem> days = submission::daysOf(code);
    if (const Problem *refusal = std::get_if<Problem>(&days))
        return problem(request, *refusal);
    const QString token = newToken();
    const ResultStore::Registration registration = store_.add(*name, code, std::get<int>(days), tokenHash(token));
    if (registration.hidden)
        return problem(request, Problem::RefusedName);
    if (!registration.created)
        return json(200, entryJson(registration.entry));
    QJsonObject body = entryJson(registration.entry);
    body.insert(u"withdraw"_s, withdrawalPath(token));
    Response response = json(201, body);
    response.headers.append({"Location"_ba, "/api/results/" + QByteArray::number(registration.entry.id)});
    return response;
}

Response Site::apiEntry(const Request &request, QStringView id)
{
    const std::optional<Entry> entry = entryNamed(id);
    if (!entry)
        return problem(request, Problem::NotFound);
    return json(200, entryJson(*entry));
}

Response Site::health(const Request &, QStringView)
{
    if (!store_.answers())
        return {503, textType, "unavailable\n"_ba, {{"Cache-Control"_ba, "no-store"_ba}}};
    return {200, textType, "ok\n"_ba, {{"Cache-Control"_ba, "no-store"_ba}}};
}

Response Site::ownEntryPage(const Request &request, QStringView id, const QString &token)
{
    const std::optional<Entry> entry = entryNamed(id);
    if (!entry)
        return problem(request, Problem::NotFound);
    QString link;
    if (wellFormedToken(token)) {
        const auto [state, owned] = store_.withdrawal(tokenHash(token));
        if (state == ResultStore::Withdrawal::Open && owned && owned->id == entry->id)
            link = withdrawalPath(token);
    }
    Response response = html(200, pages_.entry(readerOf(request), *entry, link));
    response.headers.append({"Set-Cookie"_ba, cookieFor(entry->id, {})});
    response.headers.append({"Cache-Control"_ba, "no-store"_ba});
    return response;
}

Response Site::withdrawalPage(const Request &request, QStringView token)
{
    if (!wellFormedToken(token))
        return problem(request, Problem::NotFound);
    const auto [state, entry] = store_.withdrawal(tokenHash(token));
    if (state == ResultStore::Withdrawal::Used)
        return problem(request, Problem::Withdrawn);
    if (state == ResultStore::Withdrawal::Unknown)
        return problem(request, Problem::NotFound);
    Response response = html(200, pages_.withdrawal(readerOf(request), entry, token.toString()));
    response.headers.append({"Cache-Control"_ba, "no-store"_ba});
    return response;
}

Response Site::withdrawEntry(const Request &request, QStringView token)
{
    if (fromAnotherSite(request))
        return problem(request, Problem::CrossSite);
    if (!wellFormedToken(token))
        return problem(request, Problem::NotFound);
    switch (store_.withdraw(tokenHash(token))) {
    case ResultStore::Withdrawal::Open:
        if (metrics_)
            metrics_->count(Metrics::Withdrawals);
        return html(200, pages_.withdrawn(readerOf(request)));
    case ResultStore::Withdrawal::Used:
        return problem(request, Problem::Withdrawn);
    case ResultStore::Withdrawal::Unknown:
        break;
    }
    return problem(request, Problem::NotFound);
}

Response Site::staticFile(const Request &request, QStringView name)
{
    const StaticFiles::File *file = files_.find(name.toString());
    if (!file)
        return problem(request, Problem::NotFound);
    // Pages link each file by an address that changes with its bytes.
    return {200, file->type, file->bytes, {{"Cache-Control"_ba, "public, max-age=31536000, immutable"_ba}}};
}
