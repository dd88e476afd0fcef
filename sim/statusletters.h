#ifndef STATUSLETTERS_H
#define STATUSLETTERS_H

#include <QString>
#include <QStringList>

// The status letters the printer check knows, with what each means, for the help text and
// the start-up log line. The simulator sends any other character just as readily.
namespace StatusLetters {

// What the letter means, or an empty text for a letter the check does not know.
QString meaning(char letter);

// The table as help lines: "  A  on line, ready", one per letter.
QStringList helpLines();

} // namespace StatusLetters

#endif // STATUSLETTERS_H
