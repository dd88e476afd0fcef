#ifndef STDERRMESSAGEBOX_H
#define STDERRMESSAGEBOX_H

#include "modalmessagebox.h"

class ConsoleOutput;

// A "Programfeil" box of the window, as one line on standard error; nobody has to click it away.
class StderrMessageBox : public ModalMessageBox
{
public:
    explicit StderrMessageBox(ConsoleOutput &output);
    void showMessage(const QString &text) override;

private:
    ConsoleOutput &m_output;
};

#endif // STDERRMESSAGEBOX_H
