#ifndef FINDINGSOFAR_H
#define FINDINGSOFAR_H

#include "checksummary.h"

#include <mutex>
#include <optional>

// The worst definite outcome a running check has reached, for the summary when its time runs
// out: a refused or reset port, a printer's error or warning, labels past a threshold. The
// check's thread offers its summary so far at safe points; the watchdog's thread takes it.
// An OK so far is no outcome: the rest of the check could still fail.
class FindingSoFar
{
public:
    void offer(const std::optional<CheckSummary> &summary);
    // The summary of the last definite offer, its text saying that the check was cut short;
    // nothing when there was none.
    std::optional<CheckSummary> cutShort(int timeoutSeconds) const;

private:
    mutable std::mutex m_mutex;
    std::optional<CheckSummary> m_summary;
};

#endif // FINDINGSOFAR_H
