#include "speedboxstepper.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

// The entry next to the speed shown, towards the end of the list for a step of +1 and
// towards its start for -1; -1 when there is none.
int neighbourEntry(const QComboBox &box, int step)
{
    bool isNumber = false;
    const qlonglong shown = box.currentText().trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return -1;
    int found = -1;
    for (int i = 0; i < box.count(); ++i) {
        bool entryIsNumber = false;
        const qlonglong entry = box.itemText(i).toLongLong(&entryIsNumber);
        if (!entryIsNumber)
            continue;
        if (step > 0 && entry > shown)
            return i;
        if (step < 0 && entry < shown)
            found = i;
    }
    return found;
}

// The step a key asks for: -1 up the list, +1 down it, 0 for a key that is not a step. With
// Alt, Down opens the list and with Ctrl the keys complete the text, as the toolkit has it.
int keyStep(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return 0;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return 1;
    default:
        return 0;
    }
}

void step(QComboBox &box, int direction)
{
    if (direction == 0 || !box.isEnabled())
        return;
    const int entry = neighbourEntry(box, direction);
    if (entry >= 0)
        box.setCurrentIndex(entry);
}

} // namespace

SpeedBoxStepper::SpeedBoxStepper(QObject *parent)
    : QObject(parent)
{
}

void SpeedBoxStepper::watch(QComboBox *speedBox)
{
    speedBox->installEventFilter(this);
    // The text field has the keys and, over the text, the wheel.
    if (QLineEdit *field = speedBox->lineEdit())
        field->installEventFilter(this);
}

bool SpeedBoxStepper::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QComboBox *>(watched);
    if (!box && watched)
        box = qobject_cast<QComboBox *>(watched->parent());
    if (!box)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
        // Turning the wheel away from the user goes up the list, as in the toolkit's own boxes.
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        step(*box, delta > 0 ? -1 : (delta < 0 ? 1 : 0));
        // Never the toolkit's own step, which starts from the first entry.
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int direction = keyStep(*static_cast<QKeyEvent *>(event));
        if (direction == 0)
            return QObject::eventFilter(watched, event);
        step(*box, direction);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
