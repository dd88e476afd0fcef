#ifndef WATCHEDCOMMCONTROL_H
#define WATCHEDCOMMCONTROL_H

#include "commcontrol.h"
#include "comportnumbering.h"

#include <functional>

// A serial control that hands everything to the real one and tells apart, where an open fails
// as "already open", a device that the user may not open at all: the log names both alike, a
// monitor's admin needs to know which.
class WatchedCommControl : public CommControl
{
public:
    using DeniedHandler = std::function<void(qint16 port, const QString &device)>;
    using ReceivedHandler = std::function<void(qint16 port, const QString &data)>;
    // Told of every open that failed, after the denied handler, with the control's number.
    using OpenFailedHandler = std::function<void(qint16 port, qint32 number)>;

    WatchedCommControl(CommControl &inner, ComPortResolver resolve, DeniedHandler onDenied);

    // Told of every piece of data the sweep reads.
    void setReceivedHandler(ReceivedHandler handler);
    void setOpenFailedHandler(OpenFailedHandler handler);

    void refreshPortList() override;
    void setSettings(const QString &settings) override;
    QString Settings() const override;
    void setCommPort(qint16 port) override;
    qint16 CommPort() const override;
    void setPortOpen(bool open) override;
    bool PortOpen() const override;
    void setOutput(const QString &data) override;
    int InBufferCount() override;
    QString Input() override;

private:
    CommControl &m_inner;
    ComPortResolver m_resolve;
    DeniedHandler m_onDenied;
    ReceivedHandler m_onReceived;
    OpenFailedHandler m_onOpenFailed;
};

#endif // WATCHEDCOMMCONTROL_H
