#include "logpane.h"

#include "clipboard.h"
#include "logbox.h"

LogPane::LogPane(LogBox &box, Clipboard &clipboard)
    : m_box(box)
    , m_clipboard(clipboard)
{
}

void LogPane::AppendLog(const QString &text)
{
    m_box.appendLogText(text);
}

void LogPane::cmdBlankut_Click()
{
    m_box.clearLog();
}

void LogPane::comKopiperTekst_Click()
{
    m_clipboard.clear();
    m_clipboard.setText(m_box.logText());
}

const QString &LogPane::text() const
{
    return m_box.logText();
}
