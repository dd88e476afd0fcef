#ifndef PIPETEXT_H
#define PIPETEXT_H

#include <QByteArray>
#include <QString>

// What a text becomes as bytes in a file or a pipe, where nobody hands the reader the text
// itself as a console gets it.
namespace PipeText {

enum class Form {
    // For a person and the system's own tools: on Windows the code page of the console the
    // program was started from (what `type`, `more`, `find` and PowerShell read with), UTF-8
    // without one, and CR LF line ends; elsewhere UTF-8 as it is.
    Local,
    // UTF-8 with the system's line ends (CR LF on Windows): a list for other programs.
    Utf8Lines,
    // UTF-8 exactly as given: the window's copied log (--raw), a monitoring configuration.
    Exact,
};

QByteArray bytes(const QString &text, Form form);
// Each line end as CR LF: an LF without its CR gets one; text that is already CR LF stays.
QString withCrLf(const QString &text);

} // namespace PipeText

#endif // PIPETEXT_H
