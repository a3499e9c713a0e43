#pragma once

#include "homepage/Site.h"

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

class RateLimiter;
class ResultStore;
class StaticFiles;

// Registrations on a thread and a database connection of their own: one
// that waits for the database's lock holds up only the registrations behind
// it, never the pages, files and health checks the site answers meanwhile.
// A registration that has waited longer than a request may wait for the
// database is answered 503 without trying it. The limit of registrations a
// minute is counted here alone.
class Registrar final : public QObject {
    Q_OBJECT

public:
    // `open` opens the registrations' own store; it is called on their
    // thread. `words` and `metrics` as the site's (both lock for themselves).
    Registrar(std::function<std::unique_ptr<ResultStore>()> open, RateLimiter &limiter, const StaticFiles &files,
              const QList<QHostAddress> &trustedProxies, const WordList *words = nullptr,
              Metrics *metrics = nullptr, QObject *parent = nullptr);
    ~Registrar() override;

    // Answers a registration on the registrations' thread, and hands the
    // answer to `answered` on the thread that made the registrar.
    void take(const Request &request, std::function<void(const Response &)> answered);

private:
    class Worker;
    QThread thread_;
    Worker *worker_;
};
