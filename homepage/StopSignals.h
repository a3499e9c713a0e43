#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM, and SIGHUP, as Qt signals. The handler only writes the
// signal's number into a pipe; the event loop reads it and emits
// stopRequested() or reloadRequested(), so that nothing is done inside the
// handler itself.
class StopSignals final : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();
    // Read what can be read again (the word list), as `systemctl reload` asks.
    void reloadRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};
