#ifndef FINDREPORT_H
#define FINDREPORT_H

#include "findresult.h"

#include <QString>

// The list that `find` writes to standard output.
namespace FindReport {

// For a person: the printers, then apart what else answered, then the counts.
QString terminal(const FindResults &results, bool serial);
// A header line, then one line for each printer and for each other answer, the fields
// separated by separator (RFC 4180 quoting).
QString csv(const FindResults &results, QChar separator);
// One Icinga 2 host object for each printer, marked for the network service of
// docs/monitoring.md and checked as a host with the Icinga Template Library's "hostalive", as
// the example there.
QString icinga2(const FindResults &results);
// The line of a search ended by a signal: how far it came.
QString interrupted(const FindResults &results, bool serial);
// A number with its word, singular after one: "1 skriver", "2 skrivere".
QString counted(qsizetype number, const QString &one, const QString &many);
// One line on how far the search has come, for standard error.
QString progress(const FindResults &results, int total, bool serial);

} // namespace FindReport

#endif // FINDREPORT_H
