#include "consoleoutput.h"

#include "consolewrite.h"

#include <cstdlib>

namespace {
QString oneLine(QString line)
{
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}
} // namespace

ConsoleOutput::ConsoleOutput(Mode mode, bool verbose, std::FILE *out, std::FILE *err)
    : m_mode(mode)
    , m_verbose(verbose)
    , m_out(out)
    , m_err(err)
{
}

void ConsoleOutput::write(std::FILE *file, const QString &text)
{
    // Progress stars must show while the test sleeps: flushed each time.
    writeWhole(file, text);
}

void ConsoleOutput::AppendLog(const QString &text)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    switch (m_mode) {
    case Mode::Terminal:
        write(m_out, m_terminal.convert(text));
        break;
    case Mode::Raw:
        write(m_out, text);
        break;
    case Mode::Plugin:
        // A bar would start performance data in the long output too.
        if (m_verbose)
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
        if (m_verbose) {
            text += m_heldLog + m_terminal.finish();
            if (!text.endsWith(QLatin1Char('\n')))
                text += QLatin1Char('\n');
        }
        write(m_out, text);
        return;
    }
    }
}

void ConsoleOutput::writeSummary(const CheckSummary &summary)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    writeSummaryLocked(summary);
}

void ConsoleOutput::writeError(const QString &line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_mode == Mode::Plugin)
        m_heldErrors << oneLine(line);
    else
        write(m_err, oneLine(line) + QLatin1Char('\n'));
}

void ConsoleOutput::abortWithSummary(const CheckSummary &summary)
{
    // Held to the end: nothing else may write after the last line.
    m_mutex.lock();
    if (!m_summaryWritten)
        writeSummaryLocked(summary);
    std::fflush(m_out);
    std::fflush(m_err);
    std::_Exit(m_exitStatus);
}
