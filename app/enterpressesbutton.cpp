#include "enterpressesbutton.h"

#include <QAbstractButton>
#include <QKeyEvent>

EnterPressesButton::EnterPressesButton(QObject *parent)
    : QObject(parent)
{
}

void EnterPressesButton::watch(QAbstractButton *button)
{
    button->installEventFilter(this);
}

bool EnterPressesButton::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // The keypad's Enter carries the keypad flag; any other modifier makes another shortcut.
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!enter || !plain || !button || !button->isEnabled())
        return QObject::eventFilter(watched, event);
    // Holding the key down presses the button once, as Space does.
    if (!key->isAutoRepeat())
        button->click();
    return true;
}
