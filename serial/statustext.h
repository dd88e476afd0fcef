#ifndef STATUSTEXT_H
#define STATUSTEXT_H

#include "printerstatus.h"

#include <QString>

// Reads what one COM port answered to the status enquiry. The first character above the blank
// (control characters, STX and ETX skipped) is the printer's status letter, compared case for
// case and kept whole when it lies beyond the 16-bit range; the table's text for it is the
// message.
PrinterStatus readSerialStatus(const QString &reply);

// The one-line Norwegian status text of a serial status, as the sweep logs it: the table's
// text, the text for no answer, or for a letter outside the table the letter and the whole
// reply as it came.
QString serialStatusText(const PrinterStatus &status);
// The same text with the letter alone standing for the reply, where a list or a spoken verdict
// has no place for the frame's control characters.
QString serialLetterText(const PrinterStatus &status);

// The status text of a reply: serialStatusText of what readSerialStatus reads in it.
QString GetStatustext(QString strDataIn);

#endif // STATUSTEXT_H
