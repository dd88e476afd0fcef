#include "ptypair.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int pollStepMs = 1;
}

PtyPair::PtyPair()
{
    termios raw{};
    cfmakeraw(&raw);
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = -1;
        m_slave = -1;
        return;
    }
    m_devicePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    closeFarEnd();
    if (m_slave >= 0)
        ::close(m_slave);
}

int PtyPair::waitingAtPort() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return -1;
    return count;
}

bool PtyPair::waitUntilWaitingAtPort(int count, int timeoutMs) const
{
    // The kernel hands bytes from the master to the slave on a work queue of its own.
    const QDeadlineTimer deadline(timeoutMs);
    while (waitingAtPort() < count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(pollStepMs);
    }
    return true;
}

bool PtyPair::sendFromFarEnd(const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (m_master >= 0 && sent < bytes.size()) {
        const ssize_t n =
            ::write(m_master, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return sent == bytes.size();
}

QByteArray PtyPair::receiveAtFarEnd(int timeoutMs)
{
    if (m_master < 0)
        return {};
    pollfd fd{m_master, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0 || !(fd.revents & POLLIN))
        return {};
    char buffer[4096];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, static_cast<qsizetype>(n)) : QByteArray();
}

void PtyPair::closeFarEnd()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
