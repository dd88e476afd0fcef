#ifndef PRINTERSTATE_H
#define PRINTERSTATE_H

#include <QByteArray>

// What the simulated printer is: its job ID, status letter and labels left. The status frame
// is built from it each time one goes out, so printed labels show in the next frame.
class PrinterState
{
public:
    static constexpr char outOfLabels = 'c';

    PrinterState(const QByteArray &id, char letter, int labels);

    QByteArray frame() const;
    char letter() const { return m_letter; }
    int labels() const { return m_labels; }

    // Counts printed labels off the labels left. A printer that prints its last label
    // reports "out of labels" from then on; one told to start with none keeps its letter.
    // Returns true when this print used up the last label.
    bool print(int labels);

private:
    QByteArray m_id;
    char m_letter = 'A';
    int m_labels = 0;
};

#endif // PRINTERSTATE_H
