#ifndef ONREQUESTENQUIRY_H
#define ONREQUESTENQUIRY_H

#include <QString>

class SocketControl;
struct SocketHistory;

// The command line's one question to a printer set to report its status on request only: such
// a printer connects on both ports and says nothing until an ENQ comes on port 1024. The
// window's test never asks, and stays so; the check and find ask once, when both ports are
// connected, nothing has come on port 1025 and half their time has gone by.
class OnRequestEnquiry
{
public:
    // The status enquiry.
    static constexpr char enquiry = 0x05;

    // The sockets read are the system's own, so that the test's history stays as the test
    // made it.
    OnRequestEnquiry(SocketControl &sockInn, SocketControl &sockUt, const SocketHistory &history);

    // Called at each pass of the network test: asks once, from the middle of its passes on.
    void offer(int passes);
    // Whether a reply came on port 1025 after the question.
    bool answered() const;

    // The note for a printer that reported only when asked.
    static QString note();

private:
    SocketControl &m_sockInn;
    SocketControl &m_sockUt;
    const SocketHistory &m_history;
    bool m_asked = false;
};

#endif // ONREQUESTENQUIRY_H
