#ifndef FAKEPRINTER_H
#define FAKEPRINTER_H

#include "ptypair.h"

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A printer at the far end of a pseudo-terminal, served by a thread of its own. It answers
// each status enquiry (ENQ) as its behaviour says and keeps everything it receives.
class FakePrinter
{
public:
    enum class Behaviour {
        Answer,       // sends its reply at once
        Silent,       // never answers
        Late,         // holds its reply until sendLateReply()
        Flood,        // from the first enquiry on, sends its reply (one character) without end
        HalfThenGone, // sends the first half of its reply, then its end of the line is gone
    };

    explicit FakePrinter(Behaviour behaviour, QByteArray reply = {});
    ~FakePrinter();
    FakePrinter(const FakePrinter &) = delete;
    FakePrinter &operator=(const FakePrinter &) = delete;

    bool isValid() const { return m_line.isValid(); }
    const QString &devicePath() const { return m_line.devicePath(); }

    // Waits until the printer has handled count enquiries as far as it will before the port
    // is read: a reply (or flood) waits at the port, or for a silent or late printer the
    // enquiry has arrived. False on time-out.
    bool waitUntilAnswered(int count, int timeoutMs);
    // Everything the printer has received.
    QByteArray received() const;
    // A late printer sends its held replies now.
    void sendLateReply();
    // The printer goes away as a pulled cable; returns once it is gone.
    void vanish();

private:
    void run();
    void handle(const QByteArray &bytes);
    void flood();

    PtyPair m_line;
    const Behaviour m_behaviour;
    const QByteArray m_reply;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QByteArray m_received;
    int m_answered = 0;
    int m_lateReplies = 0;
    bool m_flooding = false;
    bool m_gone = false;

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_sendLate{false};
    std::atomic<bool> m_vanish{false};
    std::thread m_thread;
};

#endif // FAKEPRINTER_H
