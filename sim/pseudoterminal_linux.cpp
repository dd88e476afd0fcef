#include "pseudoterminal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <pty.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

bool PseudoTerminal::openPair(int *master, int *slave)
{
    return ::openpty(master, slave, nullptr, nullptr, nullptr) == 0;
}

void PseudoTerminal::watchFarEnd()
{
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0)
        return;
    if (::inotify_add_watch(m_watch, m_devicePath.toLocal8Bit().constData(),
                            IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(m_watch);
        m_watch = -1;
        return;
    }
    m_farEndKnown = true;
    m_watchNotifier = std::make_unique<QSocketNotifier>(m_watch, QSocketNotifier::Read);
    connect(m_watchNotifier.get(), &QSocketNotifier::activated, this,
            &PseudoTerminal::readFarEndEvents);
}

void PseudoTerminal::readFarEndEvents()
{
    if (m_watch < 0)
        return;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_watch, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        for (ssize_t at = 0; at < count;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            at += static_cast<ssize_t>(sizeof event + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                // Lost track; from now on the line counts as open.
                m_farEndKnown = false;
            } else if (event.mask & IN_OPEN) {
                if (++m_farEndOpens == 1)
                    emit farEndOpened();
            } else if (event.mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                if (m_farEndOpens > 0 && --m_farEndOpens == 0) {
                    // Gone with the port, as on a real line.
                    if (m_slave >= 0)
                        ::tcflush(m_slave, TCIFLUSH);
                    m_pending.clear();
                    emit farEndClosed();
                }
            }
        }
    }
}
