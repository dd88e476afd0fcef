#include "logbox.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>

LogBox::LogBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Nothing can be typed here, so Tab moves on to the next control.
    setTabChangesFocus(true);
    // The log only grows; an undo history would keep a second copy of it.
    setUndoRedoEnabled(false);
}

namespace {
// The focus ring's width in pixels, drawn over the frame.
constexpr int focusRingWidth = 2;
} // namespace

bool LogBox::event(QEvent *event)
{
    const bool handled = QPlainTextEdit::event(event);
    // The frame is painted here, around the view of the text.
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Highlight));
        for (int i = 0; i < focusRingWidth; ++i)
            painter.drawRect(rect().adjusted(i, i, -1 - i, -1 - i));
    }
    return handled;
}

void LogBox::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    update();
}

void LogBox::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    update();
}

QString LogBox::displayTextFor(const QString &text) const
{
    QString shown;
    shown.reserve(text.size());
    // A CR LF split over two appends is one line end, already shown for the CR.
    qsizetype i = 0;
    if (m_text.endsWith(QLatin1Char('\r')) && text.startsWith(QLatin1Char('\n')))
        i = 1;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            shown.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            shown.append(c);
        }
    }
    return shown;
}

void LogBox::appendLogText(const QString &text)
{
    if (text.isEmpty())
        return;

    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    const bool followEnd = vertical->value() >= vertical->maximum();
    const int verticalBefore = vertical->value();
    const int horizontalBefore = horizontal->value();

    const QString shown = displayTextFor(text);
    m_text.append(text);
    const bool selectedBefore = textCursor().hasSelection();

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown);

    // A caret kept before the new text (placeCaretAtLine) stays, but the toolkit moves its
    // anchor on with the text, which would select it.
    if (!selectedBefore && textCursor().hasSelection()) {
        QTextCursor caret = textCursor();
        caret.clearSelection();
        setTextCursor(caret);
    }

    vertical->setValue(followEnd ? vertical->maximum() : verticalBefore);
    horizontal->setValue(horizontalBefore);
}

void LogBox::placeCaretAtLine(qsizetype logOffset)
{
    logOffset = qBound(qsizetype(0), logOffset, m_text.size());
    // The document holds one character for each CR LF of the log text.
    const qsizetype position =
        logOffset - QStringView(m_text).left(logOffset).count(QStringView(u"\r\n"));
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    const int verticalBefore = vertical->value();
    const int horizontalBefore = horizontal->value();

    QTextCursor caret(document());
    caret.setPosition(
        static_cast<int>(qMin(position, qsizetype(document()->characterCount() - 1))));
    caret.movePosition(QTextCursor::StartOfBlock);
    // Lines added later go after it: placed at the end, it stays at the first of them.
    caret.setKeepPositionOnInsert(true);
    setTextCursor(caret);

    vertical->setValue(verticalBefore);
    horizontal->setValue(horizontalBefore);
}

void LogBox::clearLog()
{
    m_text.clear();
    clear();
}
