#ifndef CONSOLEOUTPUT_H
#define CONSOLEOUTPUT_H

#include "logsink.h"
#include "terminaltext.h"

#include <QString>

#include <cstdio>
#include <mutex>

// Where the command line writes: the log on standard output as it grows, the summary line at
// the end, and what the window would show in a message box as one line on standard error.
//
// Terminal: the log made safe for a terminal (TerminalText), then the summary line.
// Raw: the log's bytes exactly as the window copies them (UTF-8, CR LF); the summary line goes
// to standard error, so that standard output stays the log alone.
// SummaryOnly: the summary line alone.
//
// Safe to call from two threads: the watchdog may end the program while a test writes.
class ConsoleOutput : public LogSink
{
public:
    enum class Mode { Terminal, Raw, SummaryOnly };

    ConsoleOutput(Mode mode, std::FILE *out, std::FILE *err);

    void AppendLog(const QString &text) override;
    void writeSummary(const QString &line);
    void writeError(const QString &line);
    // Writes the summary line and ends the program at once with the exit status, unless the
    // check's own summary is already out: then it returns and the check ends as it would.
    void abortWithSummary(const QString &line, int exitStatus);

private:
    void writeSummaryLocked(const QString &line);
    static void write(std::FILE *file, const QString &text);

    std::mutex m_mutex;
    Mode m_mode;
    std::FILE *m_out;
    std::FILE *m_err;
    TerminalText m_terminal;
    bool m_summaryWritten = false;
};

#endif // CONSOLEOUTPUT_H
