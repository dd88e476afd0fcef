#ifndef FIELDNUMBER_H
#define FIELDNUMBER_H

#include "runtimeerror.h"

#include <QString>
#include <QtGlobal>

// Reads the number that a field's text begins with, as a 16-bit whole number.
//
// Blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12, "- 3" is -3). The
// number is an optional sign, digits, and an optional fraction after a decimal point; reading
// stops at the first character that cannot continue it, and a text that does not begin with a
// number reads as 0 ("12abc" is 12, "abc" is 0). Only this plain decimal form is read: an
// exponent or a hexadecimal prefix ends the number ("1e2" is 1, "&H10" is 0), so what a user
// types into a port or pause field means what it looks like.
//
// The value is rounded to the nearest whole number, a half going to the even neighbour
// ("2.5" is 2, "3.5" is 4, "-3.5" is -4), on the exact decimal digits typed. A result outside
// -32768..32767 throws RuntimeError 6, "Overflow".
qint16 readFieldNumber(const QString &text);

// Whether the text begins with a number as readFieldNumber reads it (a digit after the skipped
// characters, the sign and the point), rather than reading as 0 for want of one: "0", "- 3"
// and ".5" do, "", "abc", "-" and "." do not.
bool beginsWithFieldNumber(const QString &text);

// The error that a 16-bit whole number raises when a value does not fit.
RuntimeError overflowError();

#endif // FIELDNUMBER_H
