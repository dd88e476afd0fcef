#ifndef PRINTERSTATUS_H
#define PRINTERSTATUS_H

#include <QString>

// What a printer answered to the status enquiry, read once by the decoder of its road (the
// serial status text, the network decoder). Whoever asks for the letter, the labels left or
// whether the letter is known reads these fields; the texts shown for a status are made from
// them by the decoder that read it, and never read back.
struct PrinterStatus
{
    // What the status was read from: serial, the whole reply as the port gave it; network, the
    // reply body the status field was cut from.
    QString raw;
    // The status letter: one character, two UTF-16 units where it lies beyond the 16-bit
    // range; empty where the reply has none.
    QString letter;
    // Whether the decoder's table knows the letter.
    bool known = false;
    // The decoder's Norwegian message for the letter, without the network's "OK: " or
    // "FEIL: "; serial: empty where the letter is unknown.
    QString message;
    // Network: the printer cannot print; its message is an error ("FEIL: ").
    bool fault = false;
    // The labels left: the six digits after the letter, as a number without leading zeros;
    // empty where the reply holds no six digits there.
    QString labels;
    // Network: the status field as received, the letter and up to six characters after it.
    QString field;
    // Serial: the letter stands in a well-formed frame, an STX before it and an ETX after it.
    // Such a reply is a printer's, whether the table knows its letter or not.
    bool framed = false;

    bool hasLetter() const { return !letter.isEmpty(); }
};

// The labels left in text, from the character at `from` on (just after the status letter): six
// digits as a number without leading zeros; empty where the six characters are not all digits.
QString labelsLeftAt(const QString &text, qsizetype from);

#endif // PRINTERSTATUS_H
