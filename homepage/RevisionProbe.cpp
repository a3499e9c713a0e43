#include "homepage/RevisionProbe.h"

#include "homepage/ResultStore.h"
#include "homepage/SqlResultStore.h"

#include <QDeadlineTimer>

class RevisionProbe::Worker final : public QObject {
public:
    explicit Worker(std::function<std::unique_ptr<ResultStore>()> open) : open_(std::move(open)) {}

    QByteArray ask()
    {
        try {
            if (!store_ && retry_.hasExpired()) {
                retry_.setRemainingTime(reconnectPause);
                store_ = open_();
            }
            return store_ ? store_->revision() : QByteArray();
        } catch (const StoreError &) {
            // The site asks again on its own connection and says why.
            return {};
        }
    }

private:
    std::function<std::unique_ptr<ResultStore>()> open_;
    std::unique_ptr<ResultStore> store_;
    QDeadlineTimer retry_{0};
};

RevisionProbe::RevisionProbe(std::function<std::unique_ptr<ResultStore>()> open, QObject *parent)
    : QObject(parent), worker_(new Worker(std::move(open)))
{
    worker_->moveToThread(&thread_);
    // The worker's connection is closed on its own thread.
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
    // Its event loop takes descriptors: had now, before the server listens,
    // not when a flood of clients has taken the last of them.
    QMetaObject::invokeMethod(worker_, [] {}, Qt::BlockingQueuedConnection);
}

RevisionProbe::~RevisionProbe()
{
    thread_.quit();
    thread_.wait();
}

void RevisionProbe::ask()
{
    QMetaObject::invokeMethod(worker_, [this, worker = worker_] {
        const QByteArray revision = worker->ask();
        QMetaObject::invokeMethod(this, [this, revision] { emit answered(revision); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}
