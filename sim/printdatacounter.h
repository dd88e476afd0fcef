#ifndef PRINTDATACOUNTER_H
#define PRINTDATACOUNTER_H

#include "statusframe.h"

#include <QByteArray>

// Follows the print data that arrives on port 1024 and counts the labels it prints. A job
// ends with ESC Z; it prints the quantity that the last ESC Q in the job set (ESC Q
// followed by up to six digits), or one label when no quantity was set. Everything else in
// the data (ESC A, fields, text, graphics) only passes by.
class PrintDataCounter
{
public:
    // No printer holds more labels than its status frame can show, so no take() prints
    // more; counts stop there however many jobs arrive at once.
    static constexpr int mostLabels = StatusFrame::maxLabels;

    // Takes the next bytes of the stream, which may end anywhere, even inside a command;
    // returns the labels the jobs completed by these bytes print, at most mostLabels.
    int take(const QByteArray &bytes);

    // Jobs completed so far, held at the largest int.
    int jobs() const { return m_jobs; }

private:
    enum class Expect { Data, Command, Quantity };

    int takeByte(char byte);
    void endQuantity();

    Expect m_expect = Expect::Data;
    int m_quantity = 1;
    int m_quantityDigits = 0;
    int m_quantityValue = 0;
    int m_jobs = 0;
};

#endif // PRINTDATACOUNTER_H
