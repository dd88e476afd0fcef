#ifndef CONSOLEOUTPUT_H
#define CONSOLEOUTPUT_H

#include "checksummary.h"
#include "logsink.h"
#include "terminaltext.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <mutex>

// Where the command line writes: the log, the summary, and what the window would show in a
// message box.
//
// Terminal: the log made safe for a terminal (TerminalText) as it grows, then the summary line;
// message box lines on standard error.
// Raw: the log's bytes exactly as the window copies them (UTF-8, CR LF); the summary line and
// message box lines go to standard error, so that standard output stays the log alone.
// Plugin: the summary line first, then the details and the message box lines (long output),
// then, verbose, the log as on a terminal; nothing on standard error, which a monitoring
// engine would put in front of the summary.
//
// Safe to call from two threads: the watchdog may end the program while a test writes.
class ConsoleOutput : public LogSink
{
public:
    enum class Mode { Terminal, Raw, Plugin };

    ConsoleOutput(Mode mode, bool verbose, std::FILE *out, std::FILE *err);

    void AppendLog(const QString &text) override;
    void writeSummary(const CheckSummary &summary);
    void writeError(const QString &line);
    // Writes the summary and ends the program at once with its status. Once the check's own
    // summary is out, it ends the program with that one's status instead: whatever still
    // holds the program up after its summary (a name lookup that hangs) must not keep it.
    [[noreturn]] void abortWithSummary(const CheckSummary &summary);

private:
    void writeSummaryLocked(const CheckSummary &summary);
    static void write(std::FILE *file, const QString &text);

    std::mutex m_mutex;
    Mode m_mode;
    bool m_verbose = false;
    std::FILE *m_out;
    std::FILE *m_err;
    TerminalText m_terminal;
    // Verbose plugin output: the log, shown after the summary.
    QString m_heldLog;
    // Plugin output: message box lines, shown after the details.
    QStringList m_heldErrors;
    bool m_summaryWritten = false;
    int m_exitStatus = static_cast<int>(CheckStatus::Unknown);
};

#endif // CONSOLEOUTPUT_H
