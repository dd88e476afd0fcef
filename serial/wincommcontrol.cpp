#include "wincommcontrol.h"

#include "commerror.h"

#include <utility>

#include <windows.h>

namespace {

using CommError::raiseInvalidSettings;
using CommError::raiseNoOpen;
using CommError::raisePortAlreadyOpen;
using CommError::raisePortInvalid;

HANDLE handleOf(void *handle)
{
    return static_cast<HANDLE>(handle);
}

BYTE parityOf(SerialLine::Parity parity)
{
    switch (parity) {
    case SerialLine::EvenParity:
        return EVENPARITY;
    case SerialLine::OddParity:
        return ODDPARITY;
    case SerialLine::MarkParity:
        return MARKPARITY;
    case SerialLine::SpaceParity:
        return SPACEPARITY;
    case SerialLine::NoParity:
        break;
    }
    return NOPARITY;
}

BYTE stopBitsOf(SerialLine::StopBits stopBits)
{
    switch (stopBits) {
    case SerialLine::OneAndHalfStop:
        return ONE5STOPBITS;
    case SerialLine::TwoStop:
        return TWOSTOPBITS;
    case SerialLine::OneStop:
        break;
    }
    return ONESTOPBIT;
}

// What a failed CreateFile says about the port, as the sweep names it.
[[noreturn]] void raiseOpenFailure(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        raisePortInvalid();
    case ERROR_ACCESS_DENIED: // Windows opens a COM port for one opener only
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        raisePortAlreadyOpen();
    default:
        raiseNoOpen();
    }
}

} // namespace

WinCommControl::WinCommControl(ComPortNumbering numbering)
    : PortControlBase(std::move(numbering))
{
}

WinCommControl::~WinCommControl()
{
    close();
}

QString WinCommControl::deviceFileName(const QString &device)
{
    if (device.startsWith(QLatin1String("\\\\")))
        return device;
    return QStringLiteral("\\\\.\\") + device;
}

bool WinCommControl::PortOpen() const
{
    return m_handle != nullptr;
}

void WinCommControl::closeDevice()
{
    close();
}

void WinCommControl::openDevice(const QString &device)
{
    const std::wstring name = deviceFileName(device).toStdWString();
    // Exclusive, and without overlapped I/O: every call below finishes before it returns.
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        raiseOpenFailure(::GetLastError());
    m_handle = handle;

    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(handle, &current)) { // a file or device that is no serial port
        close();
        raiseNoOpen();
    }
    if (!applyToOpenPort(lineSettings())) {
        close();
        raiseInvalidSettings();
    }
    // Reads return at once with what the driver holds; a write that the line cannot take
    // within the time-out counts as a failed device.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = outputTimeoutMs;
    if (!::SetCommTimeouts(handle, &timeouts)) {
        close();
        raiseNoOpen();
    }
    // Whatever an earlier opener left in the driver is not this port's answer.
    ::PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    m_received.clear();
}

bool WinCommControl::applyToOpenPort(const SerialSettings &settings)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(handleOf(m_handle), &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.Parity = parityOf(settings.parity);
    dcb.fParity = settings.parity == SerialLine::NoParity ? FALSE : TRUE;
    dcb.StopBits = stopBitsOf(settings.stopBits);
    // Bytes pass as they are, with no flow control and no stop on a line error.
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return ::SetCommState(handleOf(m_handle), &dcb) != FALSE;
}

void WinCommControl::close()
{
    if (!m_handle)
        return;
    ::CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_received.clear();
}

void WinCommControl::failWhileOpen()
{
    close();
    raiseNoOpen();
}

void WinCommControl::takeArrived()
{
    // A device that sends without end fills the buffer and waits there until it is read.
    char chunk[4096];
    while (m_received.size() < inBufferSize) {
        const auto wanted = static_cast<DWORD>(
            qMin<qint64>(static_cast<qint64>(sizeof chunk), inBufferSize - m_received.size()));
        DWORD got = 0;
        if (!::ReadFile(handleOf(m_handle), chunk, wanted, &got, nullptr))
            failWhileOpen();
        if (got == 0)
            break;
        m_received.append(chunk, static_cast<qsizetype>(got));
    }
}

void WinCommControl::write(const QByteArray &bytes)
{
    // A write that the line cannot take within the time-out returns early with fewer bytes
    // written. None at all is not taken for that: Wine reports none for every write to a
    // serial port, and without flow control a working port never holds a write back.
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_handle), bytes.constData(), static_cast<DWORD>(bytes.size()),
                     &written, nullptr) ||
        (written != 0 && written != static_cast<DWORD>(bytes.size())))
        failWhileOpen();
}

qint64 WinCommControl::received() const
{
    return m_received.size();
}

QByteArray WinCommControl::takeReceived()
{
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}
