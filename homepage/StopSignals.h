#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM as a Qt signal. The handler only writes a byte into a
// pipe; the event loop reads it and emits stopRequested(), so that nothing
// is done inside the handler itself.
class StopSignals final : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};
