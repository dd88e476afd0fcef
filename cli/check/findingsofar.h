#ifndef FINDINGSOFAR_H
#define FINDINGSOFAR_H

#include "checksummary.h"

#include <mutex>
#include <optional>

// What a running check has found for certain, for the summary when its time runs out: a
// refused or reset port, a status the printer sent (OK included: the printer answered), labels
// past a threshold. The check's thread offers its summary so far at safe points, once it has
// such a finding; the watchdog's thread takes the last one.
class FindingSoFar
{
public:
    void offer(const std::optional<CheckSummary> &summary);
    // The summary of the last offer, its text saying that the check was cut short; nothing when
    // there was none.
    std::optional<CheckSummary> cutShort(int timeoutSeconds) const;

private:
    mutable std::mutex m_mutex;
    std::optional<CheckSummary> m_summary;
};

// What ends the text of every summary made when the time ran out.
QString cutShortNote(int timeoutSeconds);

#endif // FINDINGSOFAR_H
