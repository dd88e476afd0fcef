#ifndef CONSOLEOUTPUT_H
#define CONSOLEOUTPUT_H

#include "checksummary.h"
#include "logsink.h"
#include "pipetext.h"
#include "terminaltext.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <mutex>

// How the program ends at once with a status; tests put in one that lets their process go on.
using ProgramEnd = std::function<void(int status)>;
// Ends the process at once (std::_Exit) after its output is flushed.
void endProcessAtOnce(int status);

// Where the command line writes: the log, the summary, and what the window would show in a
// message box.
//
// Terminal: the log made safe for a terminal (TerminalText) as it grows, then the summary line;
// message box lines on standard error.
// Raw: the log's bytes exactly as the window copies them (UTF-8, CR LF); the summary line and
// message box lines go to standard error, so that standard output stays the log alone.
// Plugin: the summary line first, then the details and the message box lines (long output);
// at verbosity 1 one line more saying what was checked with which limits, at 2 also the log as
// on a terminal, at 3 also every piece of data received, as bytes; nothing on standard error,
// which a monitoring engine would put in front of the summary.
// Files and pipes get all but the raw log in the system's own form (PipeText::Form::Local).
//
// Safe to call from two threads: the watchdog may end the program while a test writes.
class ConsoleOutput : public LogSink
{
public:
    enum class Mode { Terminal, Raw, Plugin };

    ConsoleOutput(Mode mode, int verbosity, std::FILE *out, std::FILE *err,
                  ProgramEnd endProgram = endProcessAtOnce);

    void AppendLog(const QString &text) override;
    // Plugin output at verbosity 1 and more: what was checked, with which limits.
    void setCheckedLine(const QString &line);
    // Plugin output at verbosity 3: data received from source ("port 1025", "com1") after
    // elapsedMs, one character per byte.
    void received(const QString &source, const QString &data, qint64 elapsedMs);
    // Writes the summary, unless one has been written already.
    void writeSummary(const CheckSummary &summary);
    void writeError(const QString &line);
    // Writes the summary and ends the program at once with its status. Once the check's own
    // summary is out, it ends the program with that one's status instead: whatever still
    // holds the program up after its summary (a name lookup that hangs) must not keep it.
    // Where the program end returns (in a test), nothing more is written.
    void abortWithSummary(const CheckSummary &summary);
    // The status of the summary written, UNKNOWN before.
    int exitStatus();

private:
    void writeSummaryLocked(const CheckSummary &summary);
    static void write(std::FILE *file, const QString &text,
                      PipeText::Form form = PipeText::Form::Local);

    std::mutex m_mutex;
    Mode m_mode;
    int m_verbosity = 0;
    std::FILE *m_out;
    std::FILE *m_err;
    ProgramEnd m_endProgram;
    TerminalText m_terminal;
    QString m_checkedLine;
    // Verbose plugin output: the log, shown after the summary.
    QString m_heldLog;
    // Most verbose plugin output: the data received, a line each.
    QStringList m_received;
    // Plugin output: message box lines, shown after the details.
    QStringList m_heldErrors;
    bool m_summaryWritten = false;
    bool m_ended = false;
    int m_exitStatus = static_cast<int>(CheckStatus::Unknown);
};

#endif // CONSOLEOUTPUT_H
