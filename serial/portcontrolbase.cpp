#include "portcontrolbase.h"

#include "commerror.h"

#include <utility>

PortControlBase::PortControlBase(ComPortNumbering numbering)
    : m_numbering(std::move(numbering))
{
}

void PortControlBase::refreshPortList()
{
    if (m_numbering.takeListing)
        m_numbering.takeListing();
}

void PortControlBase::setSettings(const QString &settings)
{
    const auto parsed = parseSerialSettings(settings);
    if (!parsed)
        CommError::raiseInvalidSettings();
    // An open port changes speed at once; one that refuses keeps what it had.
    if (PortOpen() && !applyToOpenPort(*parsed)) {
        applyToOpenPort(m_lineSettings);
        CommError::raiseInvalidSettings();
    }
    m_settings = settings;
    m_lineSettings = *parsed;
}

QString PortControlBase::Settings() const
{
    return m_settings;
}

void PortControlBase::setCommPort(qint16 port)
{
    if (port < 1)
        CommError::raisePortInvalid();
    if (PortOpen())
        CommError::raisePortAlreadyOpen();
    m_commPort = port;
}

qint16 PortControlBase::CommPort() const
{
    return m_commPort;
}

QString PortControlBase::device() const
{
    return m_numbering.resolve ? m_numbering.resolve(m_commPort) : QString();
}

void PortControlBase::setPortOpen(bool open)
{
    if (!open) {
        closeDevice();
        return;
    }
    if (PortOpen())
        CommError::raisePortAlreadyOpen();
    const QString device = this->device();
    if (device.isEmpty())
        CommError::raisePortInvalid();
    openDevice(device);
}

void PortControlBase::requireOpen() const
{
    if (!PortOpen())
        CommError::raisePortNotOpen();
}

void PortControlBase::setOutput(const QString &data)
{
    requireOpen();
    const QByteArray bytes = data.toLatin1();
    if (!bytes.isEmpty())
        write(bytes);
}

int PortControlBase::InBufferCount()
{
    requireOpen();
    takeArrived();
    return static_cast<int>(received());
}

QString PortControlBase::Input()
{
    requireOpen();
    takeArrived();
    return QString::fromLatin1(takeReceived());
}
