#pragma once

#include "homepage/Handler.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>

#include <array>
#include <utility>

class ResultStore;

// What the server counts for a monitor, rendered in Prometheus' text format
// (version 0.0.4). Counted from any thread.
class Metrics {
public:
    // Every family there is; a name not in the table is a fault.
    enum Family {
        Requests,        // by route and status
        Registrations,   // by outcome
        Withdrawals,
        DatabaseErrors,
        DatabaseReconnects,
        KeptPages,       // by whether served as kept or drawn anew
        Latency,         // a histogram of seconds
    };
    using Labels = QList<std::pair<QByteArray, QByteArray>>;

    void count(Family family, const Labels &labels = {});
    void observe(Family family, double seconds);
    QByteArray render() const;

    // The histogram's upper bounds, in seconds.
    static constexpr std::array buckets{0.0005, 0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1.0, 5.0};

private:
    struct Histogram {
        std::array<quint64, buckets.size()> counts{};
        quint64 count = 0;
        double sum = 0;
    };
    mutable QMutex mutex_;
    QMap<std::pair<Family, QByteArray>, quint64> counters_;   // by family and rendered labels
    QMap<Family, Histogram> histograms_;
};

// What a monitor reads on the metrics' own address: GET /metrics alone.
class MetricsPage final : public Handler {
public:
    // `log`, when given, is asked for the moderation actions at every
    // scrape: the admin commands that make them run in processes of their
    // own, so only the database knows them. Asked on the thread that
    // answers, as the site's own store is.
    explicit MetricsPage(const Metrics &metrics, ResultStore *log = nullptr) : metrics_(metrics), log_(log) {}
    QList<Response> handle(const QList<Request> &requests, const QByteArray &revision = {}) override;

private:
    QByteArray moderationActions() const;

    const Metrics &metrics_;
    ResultStore *const log_;
};
