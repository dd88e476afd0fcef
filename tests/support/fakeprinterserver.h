#ifndef FAKEPRINTERSERVER_H
#define FAKEPRINTERSERVER_H

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QThread>

#include <atomic>

class FakePrinterWorker;

// What the fake printer does on its two ports.
struct FakePrinterScript
{
    bool listenInn = true; // port 1025, where the status goes out
    bool listenUt = true;  // port 1024, held open and never written
    // Written in turn on each connection to 1025 as soon as it is accepted.
    QList<QByteArray> innPieces;
    // Instead of pieces: writes on 1025 without end (bytes without STX or ETX), as fast as
    // the connection takes them, up to floodLimit bytes per connection.
    bool flood = false;
    qint64 floodLimit = 256 * 1024 * 1024;
    // Every connection, on either port, is dropped as soon as it is accepted (and on 1025 has
    // had its pieces).
    bool dropOnAccept = false;
    // How connections are dropped, on accept and by dropConnections(): with a reset (RST), or
    // with a clean close (FIN).
    bool dropWithReset = true;
    // What the flood repeats; empty: the byte 'x'.
    QByteArray floodUnit;
    // Instead of pieces: one byte of trickle (over and over) every trickleMs on 1025.
    QByteArray trickle;
    int trickleMs = 100;
};

// A printer on a loopback address with the real ports, served from a thread of its own so
// that it goes on answering while the test under it sleeps without letting events run.
class FakePrinterServer
{
public:
    static constexpr quint16 innPort = 1025;
    static constexpr quint16 utPort = 1024;

    FakePrinterServer(const QHostAddress &address, const FakePrinterScript &script);
    ~FakePrinterServer();
    FakePrinterServer(const FakePrinterServer &) = delete;
    FakePrinterServer &operator=(const FakePrinterServer &) = delete;

    // Empty when every port of the script listens.
    const QString &listenError() const { return m_listenError; }

    int innConnections() const { return m_innConnections.load(); }
    int utConnections() const { return m_utConnections.load(); }
    // Connections to 1025 whose pieces (or a flood's first chunk, or a trickle's first byte)
    // have all been handed to the system.
    int innReplies() const { return m_innReplies.load(); }
    // Bytes that arrived from the program on either port.
    qint64 bytesReceived() const { return m_bytesReceived.load(); }
    // Flood bytes the system has taken from the printer.
    qint64 floodBytesSent() const { return m_floodBytesSent.load(); }

    // Connections dropped so far, on both ports.
    int droppedConnections() const { return m_dropped.load(); }

    // Writes data now on every open connection to 1025 and returns once the system has it.
    void sendOnInn(const QByteArray &data);
    // Drops every open connection on both ports now, as the script says, and returns once done.
    void dropConnections();

    // Blocks, without letting the caller's events run, until the printer has accepted
    // connections on its listening ports and answered innReplies of them; false on timeout.
    bool waitFor(int connections, int replies, int timeoutMs = 5000) const;
    // Blocks in the same way until count connections have been dropped; false on timeout.
    bool waitForDropped(int count, int timeoutMs = 5000) const;

private:
    friend class FakePrinterWorker;

    QThread m_thread;
    FakePrinterWorker *m_worker = nullptr;
    FakePrinterScript m_script;
    QString m_listenError;
    std::atomic<int> m_innConnections{0};
    std::atomic<int> m_utConnections{0};
    std::atomic<int> m_innReplies{0};
    std::atomic<qint64> m_floodBytesSent{0};
    std::atomic<int> m_dropped{0};
    std::atomic<qint64> m_bytesReceived{0};
};

#endif // FAKEPRINTERSERVER_H
