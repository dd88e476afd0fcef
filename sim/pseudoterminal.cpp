#include "pseudoterminal.h"

#include "linespeed.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr size_t readChunk = 4096;

QString systemError(const char *call)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(call),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

struct SpeedCode
{
    speed_t code;
    qint32 baud;
};
constexpr SpeedCode speedCodes[] = {
    {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},     {B150, 150},
    {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},   {B1800, 1800},
    {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200}, {B38400, 38400},
    {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
};

bool addFlags(int fd, int getCommand, int setCommand, int flags)
{
    const int current = ::fcntl(fd, getCommand);
    return current >= 0 && ::fcntl(fd, setCommand, current | flags) == 0;
}
} // namespace

std::optional<PseudoTerminal::LineSettings> PseudoTerminal::lineSettings() const
{
    termios settings{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0)
        return std::nullopt;
    LineSettings line;
    const speed_t code = ::cfgetospeed(&settings);
    for (const SpeedCode &known : speedCodes) {
        if (known.code == code)
            line.speed = known.baud;
    }
    if (const std::optional<qint32> any = lineSpeedOf(m_slave))
        line.speed = *any;
    line.eightNoneOne = (settings.c_cflag & CSIZE) == CS8 && !(settings.c_cflag & PARENB) &&
                        !(settings.c_cflag & CSTOPB);
    return line;
}

PseudoTerminal::PseudoTerminal(QObject *parent)
    : QObject(parent)
{
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString *error)
{
    close();
    int master = -1;
    int slave = -1;
    if (!openPair(&master, &slave)) {
        *error = systemError("openpty");
        return false;
    }
    m_master = master;
    m_slave = slave;

    // Raw, so that the line discipline neither echoes nor translates the printer's bytes.
    termios settings{};
    bool ok = ::tcgetattr(m_slave, &settings) == 0;
    if (ok) {
        ::cfmakeraw(&settings);
        ok = ::tcsetattr(m_slave, TCSANOW, &settings) == 0;
    }
    ok = ok && addFlags(m_master, F_GETFL, F_SETFL, O_NONBLOCK) &&
         addFlags(m_master, F_GETFD, F_SETFD, FD_CLOEXEC) &&
         addFlags(m_slave, F_GETFD, F_SETFD, FD_CLOEXEC);
    const char *name = ok ? ::ttyname(m_slave) : nullptr;
    if (!name) {
        *error = systemError(ok ? "ttyname" : "setting up the pseudo-terminal");
        close();
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);

    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this,
            &PseudoTerminal::readAvailable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this,
            &PseudoTerminal::writePending);
    watchFarEnd();
    return true;
}

bool PseudoTerminal::isFarEndOpen()
{
    readFarEndEvents();
    return !m_farEndKnown || m_farEndOpens > 0;
}

void PseudoTerminal::close()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_watchNotifier.reset();
    if (m_watch >= 0)
        ::close(m_watch);
    m_watch = -1;
    m_farEndOpens = 0;
    m_farEndKnown = false;
    m_pending.clear();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    if (!isOpen() || !isFarEndOpen())
        return false;
    m_pending += bytes;
    writePending();
    return true;
}

void PseudoTerminal::readAvailable()
{
    // The open that came before these bytes is reported before them.
    readFarEndEvents();
    QByteArray bytes;
    char buffer[readChunk];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // Cannot happen while the device end is held open here; stop listening rather
        // than spin on a line that reports an error for ever.
        fail(count == 0 ? QStringLiteral("read: end of file") : systemError("read"));
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PseudoTerminal::writePending()
{
    while (!m_pending.isEmpty() && isOpen()) {
        const ssize_t count = ::write(m_master, m_pending.constData(), m_pending.size());
        if (count > 0) {
            m_pending.remove(0, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        fail(systemError("write"));
        return;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

void PseudoTerminal::fail(const QString &what)
{
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    m_pending.clear();
    emit failed(what);
}
