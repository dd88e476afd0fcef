#include "simulator.h"

#include "bytetext.h"
#include "eventlog.h"
#include "exitcodes.h"
#include "serialprinter.h"
#include "statusletters.h"
#include "tcpprinter.h"

#include <QStringList>

namespace {
const QString simWhere = QStringLiteral("printer-sim");

QString describeShape(const ReplyShape &shape)
{
    QStringList parts;
    if (shape.silent)
        parts += QStringLiteral("never answers");
    if (shape.delayMs > 0)
        parts += QStringLiteral("answers %1 ms late").arg(shape.delayMs);
    if (shape.pieces > 1)
        parts += QStringLiteral("in %1 pieces %2 ms apart").arg(shape.pieces).arg(shape.pieceGapMs);
    if (!shape.prefix.isEmpty())
        parts += QStringLiteral("%1 before STX").arg(ByteText::visible(shape.prefix));
    if (!shape.suffix.isEmpty())
        parts += QStringLiteral("%1 after ETX").arg(ByteText::visible(shape.suffix));
    if (shape.twice)
        parts += QStringLiteral("two frames at once");
    if (shape.flood)
        parts += QStringLiteral("floods");
    if (shape.dropLine)
        parts += QStringLiteral("drops the line mid-answer");
    return parts.join(QStringLiteral(", "));
}
} // namespace

Simulator::Simulator(SimOptions options, EventLog *log, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_log(log)
    , m_state(m_options.id, m_options.status, m_options.labels)
{
}

Simulator::~Simulator() = default;

int Simulator::start(QString *error)
{
    int result = SimExit::Ok;
    QString where;
    if (m_options.serial) {
        m_serial = std::make_unique<SerialPrinter>(m_options, &m_state, m_log);
        connect(m_serial.get(), &SerialPrinter::lineClosed, this, &Simulator::finished);
        result = m_serial->open(error);
        where = QStringLiteral("serial line %1").arg(m_serial->devicePath());
        if (!m_options.linkPath.isEmpty())
            where += QStringLiteral(" (link %1)").arg(m_options.linkPath);
    } else {
        m_tcp = std::make_unique<TcpPrinter>(m_options, &m_state, m_log);
        result = m_tcp->listen(error);
        const QString address = m_options.address.toString();
        QStringList ports;
        if (!m_options.refuseStatusPort)
            ports += QStringLiteral("status on %1:%2").arg(address).arg(SimOptions::statusPort);
        if (!m_options.refuseDataPort)
            ports += QStringLiteral("print data on %1:%2").arg(address).arg(SimOptions::dataPort);
        where = ports.isEmpty() ? QStringLiteral("no port open on %1").arg(address)
                                : ports.join(QStringLiteral(", "));
        where += m_options.timing == ReplyTiming::Cycle
                     ? QStringLiteral(", timing cycle (every %1 ms)").arg(m_options.intervalMs)
                     : QStringLiteral(", timing enq");
        if (m_options.closeOnConnect)
            where += QStringLiteral(", closes each connection at once");
    }
    if (result != SimExit::Ok) {
        m_tcp.reset();
        m_serial.reset();
        return result;
    }
    m_log->write(simWhere, QStringLiteral("ready: %1").arg(where));
    m_log->write(simWhere, describe());
    return SimExit::Ok;
}

QString Simulator::devicePath() const
{
    return m_serial ? m_serial->devicePath() : QString();
}

QString Simulator::describe() const
{
    const QString meaning = StatusLetters::meaning(m_options.status);
    QString text =
        QStringLiteral("status %1 (%2), %3 labels left, frame %4")
            .arg(ByteText::visible(QByteArray(1, m_options.status)),
                 meaning.isEmpty() ? QStringLiteral("a letter the check does not know") : meaning)
            .arg(m_state.labels())
            .arg(ByteText::visible(m_state.frame()));
    const QString shape = describeShape(m_options.reply);
    if (!shape.isEmpty())
        text += QStringLiteral("; misbehaving: ") + shape;
    return text;
}
