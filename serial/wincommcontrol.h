#ifndef WINCOMMCONTROL_H
#define WINCOMMCONTROL_H

#include "portcontrolbase.h"

#include <QByteArray>

// The serial control over Windows' own communications API (CreateFile on \\.\COMn,
// SetCommState, SetCommTimeouts, ReadFile, WriteFile, PurgeComm), for the Windows build, which
// has no Qt serial port module. It behaves as SerialPortControl does on other systems, with
// the same error numbers: comPortInvalid for a number with no port behind it,
// comPortAlreadyOpen for a port that another program (or this control) holds, comNoOpen for a
// device that fails while open (the control then closes it), comPortNotOpen for Output,
// InBufferCount and Input on a closed port, and invalidPropertyValue for a settings text that
// is malformed or that the port refuses.
//
// Reads never wait: the port's read time-outs make ReadFile return at once with what the
// driver holds, so InBufferCount and Input see what has arrived by then, as the sweep wants.
class WinCommControl : public PortControlBase
{
public:
    static constexpr qint64 inBufferSize = 32767;
    // How long Output may take to hand its bytes to the driver before the device counts as
    // failed. Without flow control this only runs out on a device that is stuck.
    static constexpr int outputTimeoutMs = 1000;

    explicit WinCommControl(ComPortNumbering numbering = systemComPortNumbering());
    ~WinCommControl() override;
    WinCommControl(const WinCommControl &) = delete;
    WinCommControl &operator=(const WinCommControl &) = delete;

    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setOutput(const QString &data) override;
    int InBufferCount() override;
    QString Input() override;

    // The name CreateFile opens for a device name: \\.\ before a plain name such as COM12,
    // which CreateFile would otherwise take for a file unless it is COM1 to COM9.
    static QString deviceFileName(const QString &device);

protected:
    bool applyToOpenPort(const SerialSettings &settings) override;

private:
    void open();
    void requireOpen() const;
    void takeArrived();
    void close();
    [[noreturn]] void failWhileOpen();

    // The open port's handle (a Windows HANDLE), or nullptr while closed.
    void *m_handle = nullptr;
    QByteArray m_received;
};

#endif // WINCOMMCONTROL_H
