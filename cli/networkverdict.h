#ifndef NETWORKVERDICT_H
#define NETWORKVERDICT_H

#include "checksummary.h"

struct NetworkState;

// The summary of a finished network test, from what the test leaves behind. It agrees with the
// log: a printer the log reports as not found, or a test that ended in error, is CRITICAL;
// otherwise the status letter of the last decoded reply decides. The performance data carries
// the labels left where the printer sent six digits for them.
CheckSummary networkSummary(const NetworkState &state, qint64 elapsedMs);

#endif // NETWORKVERDICT_H
