#ifndef STATUSDECODER_H
#define STATUSDECODER_H

#include "printerstatus.h"

#include <QChar>
#include <QString>

#include <optional>

// Reads what arrives on the printer's status port into a status, and makes its texts.
//
// A reply is cut out by the first STX and the first ETX of the text, its status field is read
// from the body's third character on, and the field's first character is looked up in the
// table. TCP may hand a reply over in pieces, so text that has no ETX yet is kept and decoded
// together with what follows; the same goes for what trails the last ETX from its first STX on,
// the start of a next reply. A second STX before the ETX starts the reply over. So the status
// does not depend on where the stream was cut, and the leftovers of a broken reply never
// change how a whole one that follows reads.
class StatusDecoder
{
public:
    static constexpr QChar stx{0x02};
    static constexpr QChar etx{0x03};
    // Kept text beyond this is no printer reply: only the start of its last frame is kept.
    static constexpr qsizetype keptLimit = 4 * 1024;
    static constexpr qsizetype statusFieldStart = 3; // counted from 1 within the body
    static constexpr qsizetype statusFieldLength = 7;

    // Decodes the kept text followed by received: the status, where a non-empty status field
    // was found.
    std::optional<PrinterStatus> read(const QString &received);
    // As read, with the status as its text (statusText): returns true and sets statusText when
    // a status was found.
    bool decode(const QString &received, QString &statusText);
    // Forgets the kept text, as when the connection it came on is closed.
    void clear();
    const QString &keptText() const { return m_kept; }

    // The message for one status letter, "OK: " or "FEIL: " first; upper and lower case are
    // different letters.
    static QString statusMessage(QChar letter);
    // A status's message as statusMessage gives it, and its whole text as the network test
    // keeps it: the message, one CR and the status field.
    static QString messageText(const PrinterStatus &status);
    static QString statusText(const PrinterStatus &status);
    // The status field of one complete text, the first ETX included in it; empty when the
    // body is too short.
    static QString statusField(const QString &text);

private:
    // The reply body of one complete text: from after its first STX on, as long as the text
    // is up to its first ETX.
    static QString replyBody(const QString &text);
    static QString fieldOfBody(const QString &body);
    // The status of one status field; the body it was cut from is what it was read from.
    static PrinterStatus fieldStatus(const QString &field, const QString &body);
    // The text from the last STX before the first ETX on, when more than one STX stands there.
    static QString fromLastStart(const QString &text);
    void keep(const QString &text);

    QString m_kept;
};

#endif // STATUSDECODER_H
