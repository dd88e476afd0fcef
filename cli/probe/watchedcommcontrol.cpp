#include "watchedcommcontrol.h"

#include "portfailure.h"

#include <utility>

WatchedCommControl::WatchedCommControl(CommControl &inner, ComPortResolver resolve,
                                       DeniedHandler onDenied)
    : m_inner(inner)
    , m_resolve(std::move(resolve))
    , m_onDenied(std::move(onDenied))
{
}

void WatchedCommControl::setReceivedHandler(ReceivedHandler handler)
{
    m_onReceived = std::move(handler);
}

void WatchedCommControl::setOpenFailedHandler(OpenFailedHandler handler)
{
    m_onOpenFailed = std::move(handler);
}

void WatchedCommControl::refreshPortList()
{
    m_inner.refreshPortList();
}

void WatchedCommControl::setSettings(const QString &settings)
{
    m_inner.setSettings(settings);
}

QString WatchedCommControl::Settings() const
{
    return m_inner.Settings();
}

void WatchedCommControl::setCommPort(qint16 port)
{
    m_inner.setCommPort(port);
}

qint16 WatchedCommControl::CommPort() const
{
    return m_inner.CommPort();
}

void WatchedCommControl::setPortOpen(bool open)
{
    try {
        m_inner.setPortOpen(open);
    } catch (const RuntimeError &error) {
        if (open && error.number == comPortAlreadyOpen) {
            const QString device = m_resolve ? m_resolve(m_inner.CommPort()) : QString();
            if (PortFailure::denied(device))
                m_onDenied(m_inner.CommPort(), device);
        }
        if (open && m_onOpenFailed)
            m_onOpenFailed(m_inner.CommPort(), error.number);
        throw;
    }
}

bool WatchedCommControl::PortOpen() const
{
    return m_inner.PortOpen();
}

void WatchedCommControl::setOutput(const QString &data)
{
    m_inner.setOutput(data);
}

int WatchedCommControl::InBufferCount()
{
    return m_inner.InBufferCount();
}

QString WatchedCommControl::Input()
{
    QString data = m_inner.Input();
    if (!data.isEmpty() && m_onReceived)
        m_onReceived(m_inner.CommPort(), data);
    return data;
}
