#include "serialportcontrol.h"

#include "commerror.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

using CommError::raiseInvalidSettings;
using CommError::raiseNoOpen;
using CommError::raisePortAlreadyOpen;
using CommError::raisePortInvalid;

// The settings carry Qt's own values (serialsettings.h).
static_assert(int(SerialLine::NoParity) == int(QSerialPort::NoParity) &&
              int(SerialLine::EvenParity) == int(QSerialPort::EvenParity) &&
              int(SerialLine::OddParity) == int(QSerialPort::OddParity) &&
              int(SerialLine::SpaceParity) == int(QSerialPort::SpaceParity) &&
              int(SerialLine::MarkParity) == int(QSerialPort::MarkParity));
static_assert(int(SerialLine::Data5) == int(QSerialPort::Data5) &&
              int(SerialLine::Data8) == int(QSerialPort::Data8));
static_assert(int(SerialLine::OneStop) == int(QSerialPort::OneStop) &&
              int(SerialLine::TwoStop) == int(QSerialPort::TwoStop) &&
              int(SerialLine::OneAndHalfStop) == int(QSerialPort::OneAndHalfStop));

} // namespace

SerialPortControl::SerialPortControl(ComPortNumbering numbering)
    : PortControlBase(std::move(numbering))
{
    m_port.setReadBufferSize(inBufferSize);
}

SerialPortControl::SerialPortControl(ComPortResolver resolver)
    : SerialPortControl(ComPortNumbering{{}, std::move(resolver)})
{
}

SerialPortControl::~SerialPortControl() = default;

bool SerialPortControl::applyToOpenPort(const SerialSettings &settings)
{
    return apply(settings);
}

bool SerialPortControl::PortOpen() const
{
    return m_port.isOpen();
}

void SerialPortControl::closeDevice()
{
    if (m_port.isOpen())
        m_port.close();
}

void SerialPortControl::openDevice(const QString &device)
{
    // A device path that names nothing is known absent without QSerialPort, which on some
    // systems writes and syncs a lock file before it even tries the device.
    if (QDir::isAbsolutePath(device) && !QFileInfo::exists(device))
        raisePortInvalid();

    m_port.setPortName(device);
    apply(lineSettings());
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadWrite)) {
        m_port.clearError();
        return;
    }

    const QSerialPort::SerialPortError error = m_port.error();
    m_port.clearError();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        raisePortInvalid();
    case QSerialPort::PermissionError: // locked, or held exclusively, by another opener
    case QSerialPort::OpenError:
        raisePortAlreadyOpen();
    case QSerialPort::UnsupportedOperationError: // a speed or framing the port cannot do
        raiseInvalidSettings();
    default:
        raiseNoOpen();
    }
}

bool SerialPortControl::apply(const SerialSettings &settings)
{
    // Before the port opens these only note the values; QSerialPort applies them on open.
    const bool speed = m_port.setBaudRate(settings.baudRate);
    const bool parity = m_port.setParity(static_cast<QSerialPort::Parity>(settings.parity));
    const bool dataBits = m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
    const bool stopBits = m_port.setStopBits(static_cast<QSerialPort::StopBits>(settings.stopBits));
    return speed && parity && dataBits && stopBits;
}

void SerialPortControl::failWhileOpen()
{
    m_port.clearError();
    m_port.close();
    raiseNoOpen();
}

bool SerialPortControl::healthy()
{
    switch (m_port.error()) {
    case QSerialPort::NoError:
        return true;
    case QSerialPort::TimeoutError: // a wait that found nothing to do
        m_port.clearError();
        return true;
    default:
        return false;
    }
}

void SerialPortControl::takeArrived()
{
    // Each wait takes in one chunk of what the device holds, without waiting for more; a wait
    // with nothing to take only reports its time-out. Stopping at the first wait that takes
    // nothing keeps a device that claims data it never gives from holding the sweep here.
    for (;;) {
        const qint64 before = m_port.bytesAvailable();
        if (before >= inBufferSize || !m_port.waitForReadyRead(0) ||
            m_port.bytesAvailable() == before)
            break;
    }
    if (!healthy())
        failWhileOpen();
}

void SerialPortControl::write(const QByteArray &bytes)
{
    if (m_port.write(bytes) != bytes.size())
        failWhileOpen();
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(outputTimeoutMs))
            failWhileOpen();
    }
    // The waits above may have taken in bytes or met a failure on the receiving side.
    if (!healthy())
        failWhileOpen();
}

qint64 SerialPortControl::received() const
{
    return m_port.bytesAvailable();
}

QByteArray SerialPortControl::takeReceived()
{
    return m_port.readAll();
}
