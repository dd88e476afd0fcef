#include "socketpair.h"

#include "logsink.h"
#include "modalmessagebox.h"
#include "networkstate.h"
#include "runtimeerror.h"
#include "signednumbertext.h"
#include "socketcontrol.h"
#include "statusreceiver.h"

SocketPair::SocketPair(SocketControl &sockInn, SocketControl &sockUt, ModalMessageBox &messageBox,
                       LogSink &log, NetworkState &state, StatusReceiver &receiver)
    : m_sockInn(sockInn)
    , m_sockUt(sockUt)
    , m_messageBox(messageBox)
    , m_log(log)
    , m_state(state)
    , m_receiver(receiver)
{
}

void SocketPair::showProgramError(const QString &routine, const RuntimeError &error)
{
    m_messageBox.showMessage(QStringLiteral("Programfeil (") + routine + QStringLiteral("): ") +
                             error.description + signedNumberText(error.number));
}

void SocketPair::SettIPData(QString strIP)
{
    // A socket that is not closed is not reset first: the control refuses what it cannot do
    // in its state, and every refusal gets its own box while the rest is still tried.
    const auto attempt = [this](auto &&operation) {
        try {
            operation();
        } catch (const RuntimeError &error) {
            showProgramError(QStringLiteral("SettIPData"), error);
        }
    };
    attempt([&] { m_sockInn.setRemoteHost(strIP); });
    attempt([&] { m_sockInn.setRemotePort(innPort); });
    attempt([&] { m_sockInn.Connect(); });
    attempt([&] { m_sockUt.setRemoteHost(strIP); });
    attempt([&] { m_sockUt.setRemotePort(utPort); });
    attempt([&] { m_sockUt.Connect(); });
}

void SocketPair::closeSockInn()
{
    m_sockInn.Close();
    m_receiver.forgetPartialReply();
}

void SocketPair::CloseSockets()
{
    try {
        closeSockInn();
        m_sockUt.Close();
    } catch (const RuntimeError &error) {
        showProgramError(QStringLiteral("CloseSockets"), error);
    }
}

void SocketPair::cmdOpenTCP_Click(const QString &strIP)
{
    m_log.AddLogLine(QStringLiteral("Åpner porter manuelt"));
    SettIPData(strIP);
}

void SocketPair::cmdCloseTCP_Click()
{
    m_log.AddLogLine(QStringLiteral("Lukker porter manuelt"));
    // Close is not expected to fail; should it, the click reports it as CloseSockets would
    // rather than let the error escape into the toolkit.
    try {
        closeSockInn();
        m_sockUt.Close();
    } catch (const RuntimeError &error) {
        showProgramError(QStringLiteral("cmdCloseTCP_Click"), error);
    }
}

void SocketPair::SockInn_Error(qint16 Number, const QString &Description)
{
    const QString text = QStringLiteral("TCP/IP FEIL (SockInn). Kode=") + QString::number(Number) +
                         QStringLiteral("\r\n") + Description;
    m_state.strStatus = text;
    m_state.status.reset();
    m_log.AddLogLine(text);
}
