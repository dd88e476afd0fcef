#include "speedboxwheel.h"

#include <QComboBox>
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

} // namespace

SpeedBoxWheel::SpeedBoxWheel(QObject *parent)
    : QObject(parent)
{
}

void SpeedBoxWheel::watch(QComboBox *speedBox)
{
    speedBox->installEventFilter(this);
    // Over the text part the box steps from its text field's wheel events.
    if (QLineEdit *field = speedBox->lineEdit())
        field->installEventFilter(this);
}

bool SpeedBoxWheel::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QComboBox *>(watched);
    if (!box && watched)
        box = qobject_cast<QComboBox *>(watched->parent());
    if (event->type() != QEvent::Wheel || !box)
        return QObject::eventFilter(watched, event);
    // Turning the wheel away from the user goes up the list, as in the toolkit's own boxes.
    const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
    if (delta != 0 && box->isEnabled()) {
        const int entry = neighbourEntry(*box, delta > 0 ? -1 : 1);
        if (entry >= 0)
            box->setCurrentIndex(entry);
    }
    // Never the toolkit's own step, which starts from the first entry.
    return true;
}
