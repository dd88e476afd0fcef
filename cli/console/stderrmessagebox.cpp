#include "stderrmessagebox.h"

#include "consoleoutput.h"

StderrMessageBox::StderrMessageBox(ConsoleOutput &output)
    : m_output(output)
{
}

void StderrMessageBox::showMessage(const QString &text)
{
    m_output.writeError(text);
}
