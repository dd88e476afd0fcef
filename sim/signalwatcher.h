#ifndef SIGNALWATCHER_H
#define SIGNALWATCHER_H

#include <QObject>

#include <memory>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the event loop, so that the simulator
// stops by leaving its loop and closing its ports and link as it always does. The handler
// only writes the signal's number into a pipe, which is all a handler may safely do.
// SIGHUP is left alone when it is ignored (nohup). One watcher per process.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void stopRequested(int signalNumber);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

#endif // SIGNALWATCHER_H
