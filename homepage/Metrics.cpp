#include "homepage/Metrics.h"

#include "homepage/ResultStore.h"

#include <QLocale>
#include <QMutexLocker>

using namespace Qt::StringLiterals;

namespace {

struct Described {
    Metrics::Family family;
    QByteArrayView name;
    QByteArrayView type;
    QByteArrayView help;
};

// Looked up by the family's number.
constexpr Described families[] = {
    {Metrics::Requests, "suiranjuku_http_requests_total", "counter", "Requests answered, by route and status."},
    {Metrics::Registrations, "suiranjuku_registrations_total", "counter",
     "Registrations by outcome: created, repeated, or the kind of refusal."},
    {Metrics::Withdrawals, "suiranjuku_withdrawals_total", "counter", "Entries withdrawn through their own link."},
    {Metrics::DatabaseErrors, "suiranjuku_database_errors_total", "counter",
     "Statements and connection attempts the database failed, on every connection of the server."},
    {Metrics::DatabaseReconnects, "suiranjuku_database_reconnects_total", "counter",
     "Connections to the database opened again after one failed or was lost."},
    {Metrics::KeptPages, "suiranjuku_kept_pages_total", "counter",
     "Pages kept until the hall of fame changes, by whether served as kept or drawn anew."},
    {Metrics::Latency, "suiranjuku_request_duration_seconds", "histogram",
     "Seconds from a request's arrival at the site to its answer, the database included."},
};
static_assert([] {
    for (std::size_t i = 0; i < std::size(families); ++i) {
        if (families[i].family != static_cast<Metrics::Family>(i))
            return false;
    }
    return true;
}());

// A label value as the text format quotes it.
QByteArray escaped(QByteArray value)
{
    return value.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
}

QByteArray rendered(const Metrics::Labels &labels)
{
    QByteArrayList pairs;
    for (const auto &[name, value] : labels)
        pairs.append(name + "=\"" + escaped(value) + '"');
    return pairs.join(',');
}

QByteArray braced(const QByteArray &labels)
{
    return labels.isEmpty() ? QByteArray() : '{' + labels + '}';
}

QByteArray number(double value)
{
    // The shortest text that reads back as the same number, without an
    // exponent: 0.0005, not 0.00050000000000000001 or 5e-04.
    return QByteArray::number(value, 'f', QLocale::FloatingPointShortest);
}

} // namespace

void Metrics::count(Family family, const Labels &labels)
{
    const QByteArray key = rendered(labels);
    const QMutexLocker lock(&mutex_);
    ++counters_[{family, key}];
}

void Metrics::observe(Family family, double seconds)
{
    const QMutexLocker lock(&mutex_);
    Histogram &histogram = histograms_[family];
    for (std::size_t i = 0; i < buckets.size(); ++i) {
        if (seconds <= buckets[i])
            ++histogram.counts[i];
    }
    ++histogram.count;
    histogram.sum += seconds;
}

QByteArray Metrics::render() const
{
    const QMutexLocker lock(&mutex_);
    QByteArray text;
    for (const Described &described : families) {
        const QByteArray name = described.name.toByteArray();
        text += "# HELP " + name + ' ' + described.help.toByteArray() + '\n';
        text += "# TYPE " + name + ' ' + described.type.toByteArray() + '\n';
        if (described.type == "histogram") {
            const Histogram histogram = histograms_.value(described.family);
            for (std::size_t i = 0; i < buckets.size(); ++i)
                text += name + "_bucket{le=\"" + number(buckets[i]) + "\"} " + QByteArray::number(histogram.counts[i])
                    + '\n';
            text += name + "_bucket{le=\"+Inf\"} " + QByteArray::number(histogram.count) + '\n';
            text += name + "_sum " + number(histogram.sum) + '\n';
            text += name + "_count " + QByteArray::number(histogram.count) + '\n';
            continue;
        }
        bool any = false;
        for (auto it = counters_.cbegin(); it != counters_.cend(); ++it) {
            if (it.key().first != described.family)
                continue;
            text += name + braced(it.key().second) + ' ' + QByteArray::number(it.value()) + '\n';
            any = true;
        }
        // A family without labels is there from the start, at 0.
        if (!any && (described.family == Withdrawals || described.family == DatabaseErrors
                     || described.family == DatabaseReconnects))
            text += name + " 0\n";
    }
    return text;
}

QByteArray MetricsPage::moderationActions() const
{
    if (!log_)
        return {};
    QByteArray text = "# HELP suiranjuku_moderation_actions_total Moderation actions in the hall of fame's log, by "
                      "action, whichever process made them.\n"
                      "# TYPE suiranjuku_moderation_actions_total counter\n";
    try {
        for (const auto &[action, count] : log_->moderationCounts())
            text += "suiranjuku_moderation_actions_total{" + rendered({{"action"_ba, action.toUtf8()}}) + "} "
                + QByteArray::number(count) + '\n';
    } catch (const StoreError &) {
        // Counted among the database's errors; the rest of the page stands.
    }
    return text;
}

QList<Response> MetricsPage::handle(const QList<Request> &requests, const QByteArray &)
{
    QList<Response> responses;
    for (const Request &request : requests) {
        if ((request.method == "GET" || request.method == "HEAD") && request.path == "/metrics"_L1)
            responses.append({200, "text/plain; version=0.0.4; charset=utf-8"_ba, metrics_.render() + moderationActions(),
                              {{"Cache-Control"_ba, "no-store"_ba}}});
        else
            responses.append({404, "text/plain; charset=utf-8"_ba, "not found\n"_ba, {}});
    }
    return responses;
}
