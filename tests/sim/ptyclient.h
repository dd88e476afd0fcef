#ifndef PTYCLIENT_H
#define PTYCLIENT_H

#include <QByteArray>
#include <QString>

// The far end of the simulator's pseudo-terminal, as a serial program has it: opened by its
// device path, raw, without blocking. received() pulls in whatever has arrived and returns
// everything so far, so that QTRY_COMPARE can poll it.
class PtyClient
{
public:
    PtyClient() = default;
    ~PtyClient();
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool open(const QString &path);
    void close();
    bool write(const QByteArray &bytes);
    // Sets the line as a serial program does: "9600 8N1", "9600 8N2", "9600 8E1".
    bool setLine(const QString &line);
    QByteArray received();
    // The line went away under the client (end of file or an I/O error on reading).
    bool hungUp();

private:
    void pull();

    int m_fd = -1;
    QByteArray m_received;
    bool m_hungUp = false;
};

#endif // PTYCLIENT_H
