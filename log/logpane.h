#ifndef LOGPANE_H
#define LOGPANE_H

#include "logsink.h"

class Clipboard;
class LogBox;

// The log operations and the handlers of "Blank loggen" and "Kopier tekst".
class LogPane : public LogSink
{
public:
    LogPane(LogBox &box, Clipboard &clipboard);

    void AppendLog(const QString &text) override;
    void cmdBlankut_Click();
    void comKopiperTekst_Click();

    const QString &text() const;

private:
    LogBox &m_box;
    Clipboard &m_clipboard;
};

#endif // LOGPANE_H
