#include "consoleoutput.h"

#include <cstdlib>

ConsoleOutput::ConsoleOutput(Mode mode, std::FILE *out, std::FILE *err)
    : m_mode(mode)
    , m_out(out)
    , m_err(err)
{
}

void ConsoleOutput::write(std::FILE *file, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    // Progress stars must show while the test sleeps.
    std::fflush(file);
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
    case Mode::SummaryOnly:
        break;
    }
}

void ConsoleOutput::writeSummaryLocked(const QString &line)
{
    m_summaryWritten = true;
    if (m_mode == Mode::Raw) {
        write(m_err, line + QLatin1Char('\n'));
        return;
    }
    QString text = line + QLatin1Char('\n');
    if (m_mode == Mode::Terminal) {
        text.prepend(m_terminal.finish());
        if (!m_terminal.atLineStart())
            text.prepend(QLatin1Char('\n'));
    }
    write(m_out, text);
}

void ConsoleOutput::writeSummary(const QString &line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    writeSummaryLocked(line);
}

void ConsoleOutput::writeError(const QString &line)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    QString oneLine = line;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    write(m_err, oneLine + QLatin1Char('\n'));
}

void ConsoleOutput::abortWithSummary(const QString &line, int exitStatus)
{
    // Held to the end: nothing else may write after the last line.
    m_mutex.lock();
    if (m_summaryWritten) {
        m_mutex.unlock();
        return;
    }
    writeSummaryLocked(line);
    std::_Exit(exitStatus);
}
