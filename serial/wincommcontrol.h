#ifndef WINCOMMCONTROL_H
#define WINCOMMCONTROL_H

#include "portcontrolbase.h"

#include <QByteArray>

// The serial control over Windows' own communications API (CreateFile on \\.\COMn,
// SetCommState, SetCommTimeouts, ReadFile, WriteFile, PurgeComm), for the Windows build, which
// has no Qt serial port module. It behaves as SerialPortControl does on other systems (what the
// two keep alike, and their errors: portcontrolbase.h).
//
// Reads never wait: the port's read time-outs make ReadFile return at once with what the
// driver holds, so InBufferCount and Input see what has arrived by then, as the sweep wants.
class WinCommControl : public PortControlBase
{
public:
    explicit WinCommControl(ComPortNumbering numbering = systemComPortNumbering());
    ~WinCommControl() override;
    WinCommControl(const WinCommControl &) = delete;
    WinCommControl &operator=(const WinCommControl &) = delete;

    bool PortOpen() const override;

    // The name CreateFile opens for a device name: \\.\ before a plain name such as COM12,
    // which CreateFile would otherwise take for a file unless it is COM1 to COM9.
    static QString deviceFileName(const QString &device);

private:
    void openDevice(const QString &device) override;
    void closeDevice() override;
    bool applyToOpenPort(const SerialSettings &settings) override;
    void write(const QByteArray &bytes) override;
    void takeArrived() override;
    qint64 received() const override;
    QByteArray takeReceived() override;

    void close();
    [[noreturn]] void failWhileOpen();

    // The open port's handle (a Windows HANDLE), or nullptr while closed.
    void *m_handle = nullptr;
    QByteArray m_received;
};

#endif // WINCOMMCONTROL_H
