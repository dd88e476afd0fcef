#include "statusreceiver.h"

#include "modalmessagebox.h"
#include "networkstate.h"
#include "runtimeerror.h"
#include "signednumbertext.h"
#include "socketcontrol.h"

StatusReceiver::StatusReceiver(SocketControl &sockInn, ModalMessageBox &messageBox,
                               NetworkState &state)
    : m_sockInn(sockInn)
    , m_messageBox(messageBox)
    , m_state(state)
{
}

void StatusReceiver::SockInn_DataArrival(qint32 bytesTotal)
{
    Q_UNUSED(bytesTotal)
    QString received;
    try {
        m_sockInn.GetData(received);
    } catch (const RuntimeError &error) {
        // Nothing was taken, so there is nothing new to decode.
        m_messageBox.showMessage(QStringLiteral("Programfeil (SockInn_DataArrival): ") +
                                 signedNumberText(error.number) + QStringLiteral(": ") +
                                 error.description);
        return;
    }

    const std::optional<PrinterStatus> status = m_decoder.read(received);
    if (!status)
        return;
    m_state.bStatusReceived = true;
    m_state.strStatus = StatusDecoder::statusText(*status);
    m_state.status = status;
}

void StatusReceiver::forgetPartialReply()
{
    m_decoder.clear();
}
