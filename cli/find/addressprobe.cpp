#include "addressprobe.h"

#include "addressrange.h"
#include "onrequestenquiry.h"
#include "runtimeerror.h"
#include "socketcontrol.h"
#include "socketpair.h"
#include "terminaltext.h"

#include <QStringDecoder>

namespace {

// What is kept of bytes that were no status, to show what answered.
constexpr qsizetype shownBytesLimit = 40;

bool hasFailed(qint16 state)
{
    return state == SocketControl::sckError;
}

template <typename Failure> bool isLocal(const std::optional<Failure> &failure)
{
    return failure && (failure->number == SocketControl::sckNoBufferSpace ||
                       failure->number == SocketControl::sckAddressNotAvailable);
}

} // namespace

AddressProbe::AddressProbe(quint32 address, std::unique_ptr<SocketControl> sockInn,
                           std::unique_ptr<SocketControl> sockUt)
    : m_addressNumber(address)
    , m_address(addressText(address))
    , m_sockInn(std::move(sockInn))
    , m_sockUt(std::move(sockUt))
{
    m_found.where = m_address;
    QObject::connect(m_sockInn.get(), &SocketControl::DataArrival, m_sockInn.get(),
                     [this](qint32) { takeData(); });
    QObject::connect(m_sockInn.get(), &SocketControl::Error, m_sockInn.get(),
                     [this](qint16 number, const QString &description) {
                         if (!m_innFailure)
                             m_innFailure = Failure{number, description};
                     });
    QObject::connect(m_sockUt.get(), &SocketControl::Error, m_sockUt.get(),
                     [this](qint16 number, const QString &description) {
                         if (!m_utFailure)
                             m_utFailure = Failure{number, description};
                     });
}

AddressProbe::~AddressProbe()
{
    finish(m_outcome == Outcome::Pending ? Outcome::Silent : m_outcome);
}

void AddressProbe::start()
{
    m_clock.start();
    try {
        m_sockInn->setRemoteHost(m_address);
        m_sockInn->setRemotePort(SocketPair::innPort);
        m_sockInn->Connect();
        m_sockUt->setRemoteHost(m_address);
        m_sockUt->setRemotePort(SocketPair::utPort);
        m_sockUt->Connect();
    } catch (const RuntimeError &error) {
        m_innFailure = Failure{error.number, error.description};
        m_utFailure = m_innFailure;
    }
}

void AddressProbe::takeData()
{
    QString data;
    try {
        m_sockInn->GetData(data);
    } catch (const RuntimeError &) {
        return;
    }
    if (m_received.size() < shownBytesLimit)
        m_received += data.left(shownBytesLimit - m_received.size());
    if (!m_status)
        m_status = m_decoder.read(data);
}

QString AddressProbe::seenText() const
{
    if (m_received.isEmpty())
        return QString();
    // A peer's text as it meant it where its bytes are UTF-8 (an unfinished character at the
    // cut included), byte for byte otherwise.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(m_received.toLatin1());
    // Shown safely: a printer's bytes must not act on the terminal.
    TerminalText terminal;
    QString shown = terminal.convert(utf8.hasError() ? m_received : decoded) + terminal.finish();
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("mottatt på port 1025: \"") + shown + QLatin1Char('"');
}

AddressProbe::Outcome AddressProbe::poll(std::chrono::milliseconds timeout)
{
    if (m_outcome != Outcome::Pending)
        return m_outcome;
    const qint16 inn = m_sockInn->State();
    const qint16 ut = m_sockUt->State();
    const bool timedOut = m_clock.elapsed() >= timeout.count();
    // By the errors reported: the state turns before its event comes with the reason.
    const bool utFailed = m_utFailure.has_value() || (timedOut && hasFailed(ut));
    const bool innFailed = m_innFailure.has_value() || (timedOut && hasFailed(inn));
    // Never the host's answer: the address is to be tried again.
    if (isLocal(m_innFailure) || isLocal(m_utFailure)) {
        const Failure &local = isLocal(m_innFailure) ? *m_innFailure : *m_utFailure;
        m_reason = QStringLiteral("%1 (%2)").arg(local.description).arg(local.number);
        return finish(Outcome::LocalFailure);
    }

    if (m_status) {
        // As the check: a status counts once port 1024 has connected too.
        if (ut == SocketControl::sckConnected) {
            m_found.letter = m_status->letter;
            m_found.text = StatusDecoder::messageText(*m_status);
            m_found.labels = m_status->labels;
            m_found.onRequest = m_enquirySent;
            return finish(Outcome::Printer);
        }
        if (utFailed || timedOut)
            return finish(Outcome::Other,
                          QStringLiteral("status %1 på port 1025, men port 1024 svarte ikke")
                              .arg(m_status->letter));
        return Outcome::Pending;
    }
    if (innFailed && utFailed) {
        const bool refused =
            m_innFailure && m_innFailure->number == SocketControl::sckConnectionRefused;
        if (!refused && m_innFailure && m_innFailure->number == SocketControl::sckHostUnreachable) {
            m_reason = m_innFailure->description;
            return finish(Outcome::Unreachable);
        }
        return finish(refused ? Outcome::Refused : Outcome::Silent);
    }
    const bool anyOpen = inn == SocketControl::sckConnected || inn == SocketControl::sckClosing ||
                         ut == SocketControl::sckConnected || ut == SocketControl::sckClosing;
    if (innFailed && ut == SocketControl::sckConnected) {
        return finish(Outcome::Other, QStringLiteral("port 1024 åpen, port 1025: %1 (%2)")
                                          .arg(m_innFailure ? m_innFailure->description : QString())
                                          .arg(m_innFailure ? m_innFailure->number : 0));
    }
    if (inn == SocketControl::sckClosing)
        return finish(Outcome::Other,
                      QStringLiteral("port 1025 ble lukket uten status") +
                          (m_received.isEmpty() ? QString() : QStringLiteral("; ") + seenText()));
    if (!timedOut) {
        if (m_clock.elapsed() * 2 >= timeout.count())
            askOnce(inn, ut);
        return Outcome::Pending;
    }
    if (!anyOpen && m_received.isEmpty())
        return finish(Outcome::Silent);
    // Both ports taken and not a word: a host that keeps silent, as a printer that is not
    // there; only counted.
    if (inn == SocketControl::sckConnected && ut == SocketControl::sckConnected &&
        m_received.isEmpty())
        return finish(Outcome::SilentOpen,
                      m_enquirySent ? QStringLiteral("port 1025 og 1024 åpne, ingen status, heller "
                                                     "ikke etter ENQ på port 1024")
                                    : QStringLiteral("port 1025 og 1024 åpne, ingen status"));
    QString seen = inn == SocketControl::sckConnected && ut == SocketControl::sckConnected
                       ? QStringLiteral("port 1025 og 1024 åpne, ingen status")
                   : inn == SocketControl::sckConnected
                       ? QStringLiteral("port 1025 åpen, ingen status")
                       : QStringLiteral("port 1024 åpen, ingen status");
    if (!m_received.isEmpty())
        seen += QStringLiteral("; ") + seenText();
    return finish(Outcome::Other, seen);
}

void AddressProbe::askOnce(qint16 inn, qint16 ut)
{
    if (m_enquirySent || !m_received.isEmpty() || inn != SocketControl::sckConnected ||
        ut != SocketControl::sckConnected)
        return;
    m_enquirySent = true;
    try {
        m_sockUt->SendData(QByteArray(1, OnRequestEnquiry::enquiry));
    } catch (const RuntimeError &) {
        // Port 1024 went in the meantime: what it did shows in its state.
    }
}

AddressProbe::Outcome AddressProbe::finish(Outcome outcome, const QString &seen)
{
    if (m_outcome == Outcome::Pending) {
        m_outcome = outcome;
        m_found.seen = seen;
        m_found.elapsedMs = m_clock.isValid() ? m_clock.elapsed() : 0;
    }
    try {
        m_sockInn->Close();
    } catch (const RuntimeError &) {
    }
    try {
        m_sockUt->Close();
    } catch (const RuntimeError &) {
    }
    return m_outcome;
}
