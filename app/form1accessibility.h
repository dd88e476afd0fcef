#ifndef FORM1ACCESSIBILITY_H
#define FORM1ACCESSIBILITY_H

#include <QString>
#include <QtGlobal>

class Form1Ui;

// The window as a screen reader meets it: the fields' names, the selected mode told on both
// mode buttons, and what is announced of an outcome that shows nowhere near the focus (a
// test's verdict, a copied or cleared log, the help text, what the socket buttons wrote).
class Form1Accessibility
{
public:
    // Before any control exists: a screen reader may ask for a control as soon as it is made.
    static void install();

    // Names the fields and gives the mode buttons their selected look.
    explicit Form1Accessibility(const Form1Ui &ui);

    void showSelectedMode(bool serial) const;

    void announceCopied() const;
    void announceCleared() const;
    void announceHelpWritten() const;
    // What a test is about to do, once it has taken the focus from the test button.
    void announceStart(const QString &text) const;
    // Before a test: the log goes quiet for screen readers, its caret at the test's first line,
    // so that the focus arriving there reads no line left from before, nor the stars.
    void testStarts() const;
    // The test's verdict, once, as soon as the test has ended; that it ended when it has none.
    // The log's caret stands on the line at verdictAt (a position in the log text; -1: the
    // end), where a screen reader's current-line command reads the verdict again.
    void testEnded(const QString &verdict, qsizetype verdictAt) const;
    // What a button wrote in the log.
    void announceLogged(const QString &text) const;

private:
    const Form1Ui &m_ui;
};

#endif // FORM1ACCESSIBILITY_H
