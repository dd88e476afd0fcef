#include "serialprinter.h"

#include "bytetext.h"
#include "eventlog.h"
#include "exitcodes.h"
#include "printerstate.h"

namespace {
const QString serialWhere = QStringLiteral("serial");
// What a line at the wrong speed makes of a frame: a few bytes of framing errors and breaks.
const QByteArray lineNoise = QByteArrayLiteral("\xf8\x80\x00\xfe");
} // namespace

SerialPrinter::SerialPrinter(SimOptions options, PrinterState *state, EventLog *log,
                             QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_state(state)
    , m_log(log)
    , m_sender(
          m_options.reply, [this] { return m_state->frame(); },
          [this](const QByteArray &bytes) { writeAnswer(bytes); },
          [this] { return m_pty.pendingBytes(); }, log, serialWhere)
{
    connect(&m_pty, &PseudoTerminal::received, this, &SerialPrinter::takeBytes);
    // Queued: the line is closed in the handler, which must not pull the notifier that
    // reported the failure out from under itself.
    connect(&m_pty, &PseudoTerminal::failed, this, &SerialPrinter::lineFailed,
            Qt::QueuedConnection);
    connect(&m_sender, &ReplySender::lineDropped, this, &SerialPrinter::dropLine);
    connect(&m_pty, &PseudoTerminal::farEndOpened, this, [this] {
        m_lossLogged = false;
        m_log->write(serialWhere, QStringLiteral("port opened at the far end"));
    });
    connect(&m_pty, &PseudoTerminal::farEndClosed, this,
            [this] { m_log->write(serialWhere, QStringLiteral("port closed at the far end")); });
}

int SerialPrinter::open(QString *error)
{
    if (!m_pty.open(error))
        return SimExit::PtyFailure;
    if (!m_options.linkPath.isEmpty() &&
        !m_link.create(m_options.linkPath, m_pty.devicePath(), error)) {
        m_pty.close();
        return SimExit::PtyFailure;
    }
    return SimExit::Ok;
}

void SerialPrinter::takeBytes(const QByteArray &bytes)
{
    QByteArray ignored;
    const auto logIgnored = [&] {
        if (ignored.isEmpty())
            return;
        m_log->write(serialWhere, QStringLiteral("%1 byte(s) ignored: %2")
                                      .arg(ignored.size())
                                      .arg(ByteText::visible(ignored)));
        ignored.clear();
    };
    for (const char byte : bytes) {
        if (byte != StatusFrame::enq) {
            ignored += byte;
            continue;
        }
        logIgnored();
        answerEnquiry();
    }
    logIgnored();
}

void SerialPrinter::answerEnquiry()
{
    const std::optional<PseudoTerminal::LineSettings> line = m_pty.lineSettings();
    if (m_options.lineSpeed == 0 || !line ||
        (line->speed == m_options.lineSpeed && line->eightNoneOne)) {
        m_log->write(serialWhere, QStringLiteral("ENQ"));
        m_sender.answer();
        return;
    }
    // The enquiry came through garbled as well; what goes back is noise, not a status.
    m_log->write(serialWhere,
                 QStringLiteral("ENQ at %1 baud%2, the printer is set to %3 8N1: "
                                "noise")
                     .arg(line->speed)
                     .arg(line->eightNoneOne ? QString() : QStringLiteral(" (not 8N1)"))
                     .arg(m_options.lineSpeed));
    writeAnswer(lineNoise);
}

void SerialPrinter::writeAnswer(const QByteArray &bytes)
{
    if (m_pty.write(bytes) || m_lossLogged)
        return;
    // Once per close: a flood would otherwise log every chunk it loses.
    m_lossLogged = true;
    m_log->write(serialWhere, QStringLiteral("answer lost: nobody has the port open"));
}

void SerialPrinter::dropLine()
{
    m_log->write(serialWhere, QStringLiteral("line dropped in the middle of the answer"));
    m_link.remove();
    m_pty.close();
    emit lineClosed(SimExit::Ok);
}

void SerialPrinter::lineFailed(const QString &error)
{
    m_log->write(serialWhere, QStringLiteral("the line failed: %1").arg(error));
    m_link.remove();
    m_pty.close();
    emit lineClosed(SimExit::PtyFailure);
}
