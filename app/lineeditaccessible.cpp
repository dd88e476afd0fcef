#include "lineeditaccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>
#include <QVariant>

namespace {

QAccessibleInterface *lineEditFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLineEdit") && object && object->isWidgetType())
        return new LineEditAccessible(static_cast<QLineEdit *>(object));
    return nullptr;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit *field)
    : QAccessibleWidget(field, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

void LineEditAccessible::install()
{
    // The factories installed last are asked first; installing twice changes nothing.
    QAccessible::installFactory(lineEditFactory);
}

QLineEdit *LineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit *>(object());
}

bool LineEditAccessible::textShown() const
{
    return lineEdit()->echoMode() == QLineEdit::Normal;
}

void *LineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString LineEditAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value && textShown())
        return lineEdit()->text();
    return QAccessibleWidget::text(type);
}

void LineEditAccessible::setText(QAccessible::Text type, const QString &text)
{
    if (type != QAccessible::Value) {
        QAccessibleWidget::setText(type, text);
        return;
    }
    QString newText = text;
    if (const QValidator *validator = lineEdit()->validator()) {
        int position = 0;
        if (validator->validate(newText, position) != QValidator::Acceptable)
            return;
    }
    lineEdit()->setText(newText);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = lineEdit()->isReadOnly();
    state.passwordEdit = !textShown();
    state.selectableText = true;
    return state;
}

void LineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !lineEdit()->hasSelectedText())
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = lineEdit()->selectionEnd();
}

int LineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset || !textShown())
        return QString();
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const
{
    return static_cast<int>(lineEdit()->text().size());
}

QRect LineEditAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (character.isEmpty())
        return QRect();
    // Measured from the caret, which the field places exactly (margins, scrolling).
    const QRect caret = lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics(lineEdit()->font());
    const QString shown = lineEdit()->text();
    const int x = caret.x() + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(lineEdit()->cursorPosition()));
    const QRect local(x, caret.y(), metrics.horizontalAdvance(character), metrics.height());
    return QRect(lineEdit()->mapToGlobal(local.topLeft()), local.size());
}

int LineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One run over the whole text, also for the offset just past its end, where a reader asks
    // at the caret after the last character.
    Q_UNUSED(offset)
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

int LineEditAccessible::resolved(int offset) const
{
    return offset == -2 ? cursorPosition() : offset;
}

QString LineEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (!textShown())
        return QString();
    return QAccessibleTextInterface::textBeforeOffset(resolved(offset), boundaryType, startOffset,
                                                      endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (!textShown())
        return QString();
    return QAccessibleTextInterface::textAfterOffset(resolved(offset), boundaryType, startOffset,
                                                     endOffset);
}

QString LineEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (!textShown())
        return QString();
    return QAccessibleTextInterface::textAtOffset(resolved(offset), boundaryType, startOffset,
                                                  endOffset);
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    lineEdit()->setText(lineEdit()->text().remove(startOffset, endOffset - startOffset));
}

void LineEditAccessible::insertText(int offset, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().insert(offset, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().replace(startOffset, endOffset - startOffset, text));
}
