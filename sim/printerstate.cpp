#include "printerstate.h"

#include "statusframe.h"

#include <QtGlobal>

PrinterState::PrinterState(const QByteArray &id, char letter, int labels)
    : m_id(id)
    , m_letter(letter)
    , m_labels(qBound(0, labels, StatusFrame::maxLabels))
{
}

QByteArray PrinterState::frame() const
{
    return StatusFrame::build(m_id, m_letter, m_labels);
}

bool PrinterState::print(int labels)
{
    if (labels <= 0 || m_labels == 0)
        return false;
    m_labels = qMax(0, m_labels - labels);
    if (m_labels > 0)
        return false;
    m_letter = outOfLabels;
    return true;
}
