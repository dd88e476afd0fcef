#ifndef CHECKSTATUS_H
#define CHECKSTATUS_H

#include <QString>

#include <optional>

// The outcome of a check as monitoring systems read it from the exit status.
enum class CheckStatus { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

QString checkStatusWord(CheckStatus status);

// A status as the monitoring plugins' options take it: its number (0 to 3) or its word, in any
// case ("unknown"); nothing for any other text.
std::optional<CheckStatus> readCheckStatus(const QString &text);

// What a printer's status letter means to a monitor: ready or busy with nothing to warn about
// is OK; ready or busy with ribbon or memory nearly used up is WARNING; off line, an error or a
// letter outside the table (one beyond the 16-bit range among them) is CRITICAL.
CheckStatus statusOfLetter(const QString &letter);

// The worse of two outcomes of printers that answered.
CheckStatus worseStatus(CheckStatus left, CheckStatus right);

#endif // CHECKSTATUS_H
