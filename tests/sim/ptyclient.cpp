#include "ptyclient.h"

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyClient::~PtyClient()
{
    close();
}

bool PtyClient::open(const QString &path)
{
    close();
    m_received.clear();
    m_hungUp = false;
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    termios settings{};
    if (::tcgetattr(m_fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }
    return true;
}

void PtyClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool PtyClient::setLine(const QString &line)
{
    const QString baud = line.section(QLatin1Char(' '), 0, 0);
    const QString framing = line.section(QLatin1Char(' '), 1, 1);
    termios settings{};
    if (m_fd < 0 || framing.size() != 3 || ::tcgetattr(m_fd, &settings) != 0)
        return false;
    // The C library takes the number of baud as readily as its code.
    if (::cfsetspeed(&settings, speed_t(baud.toUInt())) != 0)
        return false;
    settings.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
    settings.c_cflag |= framing.at(0) == QLatin1Char('7') ? CS7 : CS8;
    if (framing.at(1) != QLatin1Char('N'))
        settings.c_cflag |= PARENB | (framing.at(1) == QLatin1Char('O') ? PARODD : 0);
    if (framing.at(2) == QLatin1Char('2'))
        settings.c_cflag |= CSTOPB;
    return ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
}

bool PtyClient::write(const QByteArray &bytes)
{
    return m_fd >= 0 && ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
}

QByteArray PtyClient::received()
{
    pull();
    return m_received;
}

bool PtyClient::hungUp()
{
    pull();
    return m_hungUp;
}

void PtyClient::pull()
{
    if (m_fd < 0 || m_hungUp)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
        if (count > 0) {
            m_received.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0 || errno == EIO)
            m_hungUp = true;
        return;
    }
}
