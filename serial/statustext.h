#ifndef STATUSTEXT_H
#define STATUSTEXT_H

#include <QString>

// Turns what one COM port answered to the status enquiry into a one-line Norwegian status
// text. The first character above the blank (control characters, STX and ETX skipped) is the
// printer's status letter, compared case for case.
QString GetStatustext(QString strDataIn);
// The printer's status letter in a reply, known or not: the first character above the blank,
// kept whole when it lies beyond the 16-bit range; empty when there is none.
QString StatusLetter(const QString &reply);

// Whether the reply's status letter is one the printers' table knows: a reply that is not a
// status at all (noise at a wrong speed, another device) has none.
bool hasKnownStatus(const QString &strDataIn);

#endif // STATUSTEXT_H
