#ifndef STATUSTEXT_H
#define STATUSTEXT_H

#include <QString>

// Turns what one COM port answered to the status enquiry into a one-line Norwegian status
// text. The first character above the blank (control characters, STX and ETX skipped) is the
// printer's status letter, compared case for case.
QString GetStatustext(QString strDataIn);

#endif // STATUSTEXT_H
