#ifndef NETWORKVERDICT_H
#define NETWORKVERDICT_H

#include "checksummary.h"

struct NetworkState;
struct SocketHistory;

// The summary of a finished network test, from what the test and its sockets leave behind.
// What failed first is named first: a refused or reset port with its error, a printer that
// hung up at once without a word, a printer not found; the printer's own status after it. A
// status decoded while the test could still end on it (its last pass included) counts: the
// status letter decides, CRITICAL where a port failed. The performance data carries the labels
// left where the printer sent six digits for them (the caller adds the time).
CheckSummary networkSummary(const NetworkState &state, const SocketHistory &sockets,
                            const LabelThresholds &thresholds);

// The summary of a test that is still running, once it has found something for certain: a
// failed port, a port hung up at once, or a status the printer sent (which counts here even
// before the test would end on it); nothing before that.
std::optional<CheckSummary> networkFindingSoFar(const NetworkState &state,
                                                const SocketHistory &sockets,
                                                const LabelThresholds &thresholds);

#endif // NETWORKVERDICT_H
