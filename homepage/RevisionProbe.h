#pragma once

#include <QByteArray>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

class ResultStore;

// Asks the hall of fame whether it has changed on a thread and a database
// connection of its own, so that requests keep coming in while the question
// travels to a database server and back. One question at a time.
class RevisionProbe final : public QObject {
    Q_OBJECT

public:
    // `open` opens the probe's own store; it is called on the probe's thread.
    explicit RevisionProbe(std::function<std::unique_ptr<ResultStore>()> open, QObject *parent = nullptr);
    ~RevisionProbe() override;

    // Asks now; answered() follows on the thread that made the probe.
    void ask();

signals:
    // The revision, or nothing when the database could not be asked.
    void answered(const QByteArray &revision);

private:
    class Worker;
    QThread thread_;
    Worker *worker_;
};
