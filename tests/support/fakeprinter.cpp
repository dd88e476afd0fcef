#include "fakeprinter.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr char enquiry = 5;
constexpr int serviceStepMs = 2;
// How long the printer waits for its reply to reach the port before it counts it as sent.
constexpr int arrivalTimeoutMs = 5000;
} // namespace

FakePrinter::FakePrinter(Behaviour behaviour, QByteArray reply)
    : m_behaviour(behaviour)
    , m_reply(std::move(reply))
{
    if (m_line.isValid())
        m_thread = std::thread([this] { run(); });
}

FakePrinter::~FakePrinter()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool FakePrinter::waitUntilAnswered(int count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_answered >= count; });
}

QByteArray FakePrinter::received() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void FakePrinter::sendLateReply()
{
    m_sendLate = true;
}

void FakePrinter::vanish()
{
    m_vanish = true;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_gone || !m_thread.joinable(); });
}

void FakePrinter::run()
{
    while (!m_stop) {
        if (m_vanish) {
            m_line.closeFarEnd();
            std::lock_guard<std::mutex> lock(m_mutex);
            m_gone = true;
            m_changed.notify_all();
            return;
        }
        if (m_sendLate.exchange(false)) {
            int replies = 0;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                replies = m_lateReplies;
                m_lateReplies = 0;
            }
            for (int i = 0; i < replies; ++i)
                m_line.sendFromFarEnd(m_reply);
        }

        pollfd fd{m_line.masterFd(), POLLIN, 0};
        if (m_flooding)
            fd.events |= POLLOUT;
        if (::poll(&fd, 1, serviceStepMs) <= 0)
            continue;
        if (fd.revents & POLLIN) {
            char buffer[4096];
            const ssize_t n = ::read(m_line.masterFd(), buffer, sizeof buffer);
            if (n > 0)
                handle(QByteArray(buffer, static_cast<qsizetype>(n)));
            if (!m_line.isValid())
                return;
        }
        if (m_flooding && (fd.revents & POLLOUT))
            flood();
    }
}

void FakePrinter::handle(const QByteArray &bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received.append(bytes);
    }
    for (const char byte : bytes) {
        if (byte != enquiry)
            continue;
        switch (m_behaviour) {
        case Behaviour::Answer:
            m_line.sendFromFarEnd(m_reply);
            m_line.waitUntilWaitingAtPort(static_cast<int>(m_reply.size()), arrivalTimeoutMs);
            break;
        case Behaviour::Silent:
            break;
        case Behaviour::Late: {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_lateReplies;
            break;
        }
        case Behaviour::HalfThenGone: {
            const QByteArray half = m_reply.left(m_reply.size() / 2);
            m_line.sendFromFarEnd(half);
            m_line.waitUntilWaitingAtPort(static_cast<int>(half.size()), arrivalTimeoutMs);
            m_line.closeFarEnd();
            std::lock_guard<std::mutex> lock(m_mutex);
            m_gone = true;
            ++m_answered;
            m_changed.notify_all();
            return;
        }
        case Behaviour::Flood:
            if (!m_flooding) {
                m_flooding = true;
                ::fcntl(m_line.masterFd(), F_SETFL,
                        ::fcntl(m_line.masterFd(), F_GETFL) | O_NONBLOCK);
                flood();
                m_line.waitUntilWaitingAtPort(1, arrivalTimeoutMs);
            }
            break;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_answered;
        m_changed.notify_all();
    }
}

void FakePrinter::flood()
{
    // As much as the line takes now; the rest of the burst is dropped, which a flood of one
    // repeated character does not show.
    constexpr qsizetype burstSize = 4096;
    QByteArray burst;
    while (!m_reply.isEmpty() && burst.size() < burstSize)
        burst.append(m_reply);
    qsizetype sent = 0;
    while (sent < burst.size()) {
        const ssize_t n = ::write(m_line.masterFd(), burst.constData() + sent,
                                  static_cast<size_t>(burst.size() - sent));
        if (n <= 0)
            break;
        sent += n;
    }
}
