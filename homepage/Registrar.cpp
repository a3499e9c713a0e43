#include "homepage/Registrar.h"

#include "homepage/ResultStore.h"
#include "homepage/SqlResultStore.h"

using namespace Qt::StringLiterals;

namespace {

// The registrations' store, opened on their thread with the first one, and
// refusing whatever comes past the time its request may wait.
class PatientStore final : public ResultStore {
public:
    explicit PatientStore(std::function<std::unique_ptr<ResultStore>()> open) : open_(std::move(open)) {}

    void waitUntil(QDeadlineTimer deadline) { deadline_ = deadline; }

    Registration add(const QString &name, const QString &code, int days, const QByteArray &withdrawal) override
    {
        return store().add(name, code, days, withdrawal);
    }
    std::optional<Entry> find(qint64 id) override { return store().find(id); }
    Page page(qint64 offset, int limit) override { return store().page(offset, limit); }
    std::pair<Withdrawal, std::optional<Entry>> withdrawal(const QByteArray &hash) override
    {
        return store().withdrawal(hash);
    }
    Withdrawal withdraw(const QByteArray &hash) override { return store().withdraw(hash); }
    bool answers() override
    {
        try {
            return store().answers();
        } catch (const StoreError &) {
            return false;
        }
    }
    QByteArray revision() override { return store().revision(); }

private:
    ResultStore &store()
    {
        if (deadline_.hasExpired())
            throw StoreError(u"registrations waited longer than %1 s for the database"_s.arg(databasePatience.count()));
        if (!store_) {
            if (!retry_.hasExpired())
                throw StoreError(u"the database is not reachable"_s, {}, StoreError::Logged);
            retry_.setRemainingTime(reconnectPause);
            store_ = open_();
        }
        return *store_;
    }

    std::function<std::unique_ptr<ResultStore>()> open_;
    std::unique_ptr<ResultStore> store_;
    QDeadlineTimer deadline_{QDeadlineTimer::Forever};
    QDeadlineTimer retry_{0};
};

} // namespace

class Registrar::Worker final : public QObject {
public:
    Worker(std::function<std::unique_ptr<ResultStore>()> open, RateLimiter &limiter, const StaticFiles &files,
           const QList<QHostAddress> &trustedProxies, const WordList *words, Metrics *metrics)
        : store_(std::move(open)), site_(store_, limiter, files, trustedProxies, words, metrics)
    {
    }

    Response answer(const Request &request, QDeadlineTimer deadline)
    {
        store_.waitUntil(deadline);
        return site_.handle(request);
    }

    // Opens the store before the first registration needs it.
    void open() { store_.answers(); }

private:
    PatientStore store_;
    Site site_;
};

Registrar::Registrar(std::function<std::unique_ptr<ResultStore>()> open, RateLimiter &limiter,
                     const StaticFiles &files, const QList<QHostAddress> &trustedProxies, const WordList *words,
                     Metrics *metrics, QObject *parent)
    : QObject(parent), worker_(new Worker(std::move(open), limiter, files, trustedProxies, words, metrics))
{
    worker_->moveToThread(&thread_);
    // The worker's connection is closed on its own thread.
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
    // Waited for: the thread's event loop and its store take descriptors,
    // which must be had before the server listens, not when a flood of
    // clients has taken the last of them (the event loop cannot start then).
    QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->open(); }, Qt::BlockingQueuedConnection);
}

Registrar::~Registrar()
{
    thread_.quit();
    thread_.wait();
}

void Registrar::take(const Request &request, std::function<void(const Response &)> answered)
{
    // The time a registration may wait runs from when it came in.
    const QDeadlineTimer deadline(databasePatience);
    QMetaObject::invokeMethod(worker_, [this, worker = worker_, request, deadline, answered = std::move(answered)] {
        const Response response = worker->answer(request, deadline);
        QMetaObject::invokeMethod(this, [response, answered] { answered(response); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}
