#pragma once

#include <QObject>

class QSocketNotifier;

namespace zendral {

// The signals by which another program or the session ends this one (SIGTERM, SIGHUP,
// SIGINT), turned into a Qt signal delivered by the event loop, where it is safe to write
// files. Only one may exist at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace zendral
