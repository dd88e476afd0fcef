#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair standing in for a serial line: the slave's device path is the COM
// port that the program opens, the master is the far end where a printer would sit. The line
// is raw (no echo, no translation), and the pair keeps a slave descriptor of its own so that
// the far end stays usable while the program has the port closed, and so that it can see what
// waits on the port.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    const QString &devicePath() const { return m_devicePath; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; }

    // Bytes the far end has sent that wait on the port, unread.
    int waitingAtPort() const;
    // Waits until at least count bytes wait on the port; false on time-out.
    bool waitUntilWaitingAtPort(int count, int timeoutMs) const;
    // Sends from the far end; false unless all of it went out.
    bool sendFromFarEnd(const QByteArray &bytes);
    // Reads what reached the far end within timeoutMs (at least one byte, or nothing).
    QByteArray receiveAtFarEnd(int timeoutMs);
    // The far end goes away, as a pulled cable or adapter.
    void closeFarEnd();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
};

#endif // PTYPAIR_H
