#ifndef HELPTEXT_H
#define HELPTEXT_H

#include <QStringList>

// The user guides that "Hjelp" writes into the log, one entry per log line.
namespace HelpText {
QStringList serialGuide();
QStringList networkGuide();
} // namespace HelpText

#endif // HELPTEXT_H
