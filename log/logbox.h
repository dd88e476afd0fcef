#ifndef LOGBOX_H
#define LOGBOX_H

#include <QPlainTextEdit>
#include <QString>

// The log box. It keeps the log text exactly as written (CR LF line ends, a lone CR inside a
// printer's status text) apart from what it displays, because a text document turns every
// line end into a paragraph break of its own. Appending adds to the end of the document
// rather than replacing it, so a star on a long log costs what it costs on a short one.
//
// The view follows the newest line while the user is at the end, and stays put while the user
// has scrolled up to read. The user can select and copy, not type. With the focus its frame is
// drawn in the highlight colour, as the style draws a text field's, which it does not do for a
// box of this kind.
class LogBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LogBox(QWidget *parent = nullptr);

    const QString &logText() const { return m_text; }
    void appendLogText(const QString &text);
    void clearLog();
    // Puts the caret at the start of the line that holds the character at the log text's
    // offset, without moving the view, so that a screen reader's current-line command reads
    // that line. Placed at the end, it stays at the first line written after.
    void placeCaretAtLine(qsizetype logOffset);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString displayTextFor(const QString &text) const;

    QString m_text;
};

#endif // LOGBOX_H
