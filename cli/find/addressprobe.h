#ifndef ADDRESSPROBE_H
#define ADDRESSPROBE_H

#include "findresult.h"
#include "statusdecoder.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class SocketControl;

// The network check's exchange with one address, without its log: connects `SockInn` to port
// 1025 and `SockUt` to port 1024, decodes the status reply that comes on 1025, and closes both
// once it knows what answered there or its time is up. Where both ports are connected and half
// the time has gone by without a word, it asks once with an ENQ on port 1024, as a printer set
// to report on request only needs.
class AddressProbe
{
public:
    enum class Outcome {
        Pending,
        Printer,
        Other,
        Silent,
        SilentOpen,
        Refused,
        // No route, network or host unreachable: nothing reached the host.
        Unreachable,
        // This computer could not make the connection (no descriptor, buffer or local port):
        // nothing is known of the host.
        LocalFailure,
    };

    AddressProbe(quint32 address, std::unique_ptr<SocketControl> sockInn,
                 std::unique_ptr<SocketControl> sockUt);
    ~AddressProbe();
    AddressProbe(const AddressProbe &) = delete;
    AddressProbe &operator=(const AddressProbe &) = delete;

    void start();
    // Looks at both connections; closes them and returns the outcome once it is known.
    Outcome poll(std::chrono::milliseconds timeout);
    const FoundPlace &found() const { return m_found; }
    quint32 address() const { return m_addressNumber; }
    // The system's reason for an Unreachable or LocalFailure outcome.
    const QString &reason() const { return m_reason; }

private:
    struct Failure
    {
        qint32 number = 0;
        QString description;
    };

    void takeData();
    void askOnce(qint16 inn, qint16 ut);
    Outcome finish(Outcome outcome, const QString &seen = QString());
    QString seenText() const;

    quint32 m_addressNumber = 0;
    QString m_address;
    std::unique_ptr<SocketControl> m_sockInn;
    std::unique_ptr<SocketControl> m_sockUt;
    StatusDecoder m_decoder;
    std::optional<PrinterStatus> m_status; // the first status decoded
    QString m_received; // the first bytes that came on port 1025, for what was seen
    std::optional<Failure> m_innFailure;
    std::optional<Failure> m_utFailure;
    bool m_enquirySent = false;
    QString m_reason;
    QElapsedTimer m_clock;
    FoundPlace m_found;
    Outcome m_outcome = Outcome::Pending;
};

#endif // ADDRESSPROBE_H
