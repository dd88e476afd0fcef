#include "consoleoutput.h"

#include "consolewrite.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int verbosityChecked = 1;
constexpr int verbosityLog = 2;
constexpr int verbosityReceived = 3;
// Of each piece of data received, the bytes shown: a printer's status frame is 11, a printer
// that floods the line must not flood the monitoring system's database.
constexpr qsizetype longestBytesShown = 64;

QString oneLine(QString line)
{
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace

void endProcessAtOnce(int status)
{
    std::_Exit(status);
}

ConsoleOutput::ConsoleOutput(Mode mode, int verbosity, std::FILE *out, std::FILE *err,
                             ProgramEnd endProgram)
    : m_mode(mode)
    , m_verbosity(verbosity)
    , m_out(out)
    , m_err(err)
    , m_endProgram(std::move(endProgram))
{
}

void ConsoleOutput::write(std::FILE *file, const QString &text, PipeText::Form form)
{
    // Progress stars must show while the test sleeps: flushed each time.
    writeWhole(file, text, form);
}

void ConsoleOutput::AppendLog(const QString &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ended)
        return;
    switch (m_mode) {
    case Mode::Terminal:
        write(m_out, m_terminal.convert(text));
        break;
    case Mode::Raw:
        // The log's own bytes, as the window copies them, on every system.
        write(m_out, text, PipeText::Form::Exact);
        break;
    case Mode::Plugin:
        // A bar would start performance data in the long output too.
        if (m_verbosity >= verbosityLog)
            m_heldLog += m_terminal.convert(text).replace(QLatin1Char('|'), QLatin1Char('/'));
        break;
    }
}

void ConsoleOutput::writeSummaryLocked(const CheckSummary &summary)
{
    m_summaryWritten = true;
    m_exitStatus = static_cast<int>(summary.status);
    const QString line = summary.line() + QLatin1Char('\n');
    switch (m_mode) {
    case Mode::Raw:
        write(m_err, line);
        return;
    case Mode::Terminal: {
        QString text = m_terminal.finish() + line;
        if (!m_terminal.atLineStart())
            text.prepend(QLatin1Char('\n'));
        write(m_out, text);
        return;
    }
    case Mode::Plugin: {
        QString text = line;
        CheckSummary withErrors = summary;
        withErrors.details += m_heldErrors;
        for (const QString &detail : withErrors.detailLines())
            text += detail + QLatin1Char('\n');
        if (m_verbosity >= verbosityChecked && !m_checkedLine.isEmpty())
            text += m_checkedLine + QLatin1Char('\n');
        if (m_verbosity >= verbosityLog) {
            text += m_heldLog + m_terminal.finish();
            if (!text.endsWith(QLatin1Char('\n')))
                text += QLatin1Char('\n');
        }
        if (m_verbosity >= verbosityReceived) {
            for (const QString &line : std::as_const(m_received))
                text += line + QLatin1Char('\n');
        }
        write(m_out, text);
        return;
    }
    }
}

void ConsoleOutput::setCheckedLine(const QString &line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_checkedLine = oneLine(line);
}

void ConsoleOutput::received(const QString &source, const QString &data, qint64 elapsedMs)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ended || m_verbosity < verbosityReceived || data.isEmpty())
        return;
    QStringList bytes;
    for (qsizetype i = 0; i < std::min(data.size(), longestBytesShown); ++i)
        bytes << QStringLiteral("%1").arg(data.at(i).unicode() & 0xff, 2, 16, QLatin1Char('0'));
    QString line = QStringLiteral("+%1 s %2 mottok %3 byte: %4")
                       .arg(double(elapsedMs) / 1000.0, 0, 'f', 3)
                       .arg(source)
                       .arg(data.size())
                       .arg(bytes.join(QLatin1Char(' ')).toUpper());
    if (data.size() > longestBytesShown)
        line += QStringLiteral(" ...");
    m_received << line;
}

void ConsoleOutput::writeSummary(const CheckSummary &summary)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_summaryWritten)
        writeSummaryLocked(summary);
}

int ConsoleOutput::exitStatus()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_exitStatus;
}

void ConsoleOutput::writeError(const QString &line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ended)
        return;
    if (m_mode == Mode::Plugin)
        m_heldErrors << oneLine(line);
    else
        write(m_err, oneLine(line) + QLatin1Char('\n'));
}

void ConsoleOutput::abortWithSummary(const CheckSummary &summary)
{
    // Held while the program ends: nothing else may write after the last line.
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_summaryWritten)
        writeSummaryLocked(summary);
    std::fflush(m_out);
    std::fflush(m_err);
    m_ended = true;
    m_endProgram(m_exitStatus);
}
