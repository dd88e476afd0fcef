#ifndef LINEEDITACCESSIBLE_H
#define LINEEDITACCESSIBLE_H

#include <QAccessibleWidget>

class QLineEdit;

// What screen readers learn of a text field. The toolkit's own interface answers the question
// "which run of equal attributes holds this character?" with an empty run, and Orca reads a
// field's value run by run: it stops at the end of the last run it was given and speaks "35"
// for a field that holds "350". A text field has one look for all of its text, so this
// interface answers with one run over the whole text; everything else is as the toolkit has it:
// the text as value, its caret and selection, and editing through assistive technology.
//
// Works around Qt 6.4.2 (Debian 12): QAccessibleLineEdit::attributes() (qtbase
// src/widgets/accessible/simplewidgets.cpp) sets startOffset = endOffset = offset, "QLineEdit
// doesn't have text attributes", and that private class cannot be derived from to change the one
// answer. tst_accessibilityseams fails the day Qt's own answer covers the text: this class can
// go then, with its factory.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *field);

    // Makes every text field created from now on answer through this interface.
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;
    QAccessible::State state() const override;

    // The text interface.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;

    // The editable text interface.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    QLineEdit *lineEdit() const;
    bool textShown() const;
    // The offset asked for, with -2 standing for the caret's.
    int resolved(int offset) const;
};

#endif // LINEEDITACCESSIBLE_H
