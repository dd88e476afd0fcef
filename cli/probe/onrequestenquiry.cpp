#include "onrequestenquiry.h"

#include "networktest.h"
#include "runtimeerror.h"
#include "socketcontrol.h"
#include "socketpair.h"
#include "watchedsocketcontrol.h"

OnRequestEnquiry::OnRequestEnquiry(SocketControl &sockInn, SocketControl &sockUt,
                                   const SocketHistory &history)
    : m_sockInn(sockInn)
    , m_sockUt(sockUt)
    , m_history(history)
{
}

void OnRequestEnquiry::offer(int passes)
{
    if (m_asked || passes * 2 < NetworkTest::intMaxLoops)
        return;
    const auto inn = m_history.ports.constFind(SocketPair::innPort);
    if (inn != m_history.ports.constEnd() && inn->received)
        return;
    if (m_sockInn.State() != SocketControl::sckConnected ||
        m_sockUt.State() != SocketControl::sckConnected)
        return;
    m_asked = true;
    try {
        m_sockUt.SendData(QByteArray(1, enquiry));
    } catch (const RuntimeError &) {
        // Port 1024 went in the meantime: the test sees it in its state.
    }
}

bool OnRequestEnquiry::answered() const
{
    const auto inn = m_history.ports.constFind(SocketPair::innPort);
    return m_asked && inn != m_history.ports.constEnd() && inn->received;
}

QString OnRequestEnquiry::note()
{
    return QStringLiteral("svarer bare når den blir spurt (ENQ på port 1024); vinduets "
                          "nettverkstest spør aldri og finner den ikke");
}
