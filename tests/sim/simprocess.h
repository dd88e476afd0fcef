#ifndef SIMPROCESS_H
#define SIMPROCESS_H

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The built printer-sim run as a separate process, as scripts and the window's end-to-end
// tests run it. Its standard output and error are kept as they come.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    static QString program();

    void start(const QStringList &arguments);
    // Waits until the simulator logs that it is ready (false if it ends or takes too long).
    bool waitUntilReady();
    // Runs to the end and returns the exit code, or -1 when it did not end normally in time.
    int waitForExit();
    void sendSignal(int signalNumber);

    QString out();
    QString err();
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

#endif // SIMPROCESS_H
