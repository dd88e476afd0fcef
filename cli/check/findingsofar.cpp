#include "findingsofar.h"

void FindingSoFar::offer(const std::optional<CheckSummary> &summary)
{
    if (!summary)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_summary = summary;
}

std::optional<CheckSummary> FindingSoFar::cutShort(int timeoutSeconds) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_summary)
        return std::nullopt;
    CheckSummary result = *m_summary;
    result.text += cutShortNote(timeoutSeconds);
    return result;
}

QString cutShortNote(int timeoutSeconds)
{
    return QStringLiteral("; kontrollen ble avbrutt etter %1 s (--timeout)").arg(timeoutSeconds);
}
