#ifndef TERMINALTEXT_H
#define TERMINALTEXT_H

#include <QString>

// Turns log text into what a terminal shows safely, one line per log line: a CR LF ends a line;
// a lone CR (inside a network status text) becomes a blank, so that the text after it does not
// overwrite the line; other control characters, which a printer may send and which a terminal
// would act on (an escape sequence, a bell), are shown in caret notation ("^B", "^[") or, for
// the C1 range, as a replacement character.
//
// pendingCr carries a CR that ended the previous piece: it is a line end when the next piece
// begins with LF.
class TerminalText
{
public:
    QString convert(const QString &text);
    // What a CR left at the very end still stands for.
    QString finish();
    bool atLineStart() const { return m_atLineStart; }

private:
    void append(QString &out, QChar c);

    bool m_pendingCr = false;
    bool m_atLineStart = true;
};

#endif // TERMINALTEXT_H
