#include "quietaccessibility.h"

#include "announcement.h"

#include <QAccessible>
#include <QLineEdit>
#include <QList>
#include <QPointer>

namespace {

QList<QPointer<QObject>> &quietObjects()
{
    static QList<QPointer<QObject>> objects;
    return objects;
}

QAccessible::UpdateHandler &previousHandler()
{
    static QAccessible::UpdateHandler previous = nullptr;
    return previous;
}

bool isTextEvent(QAccessible::Event type)
{
    switch (type) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
        return true;
    default:
        return false;
    }
}

bool isNoise(QAccessibleEvent *event)
{
    QObject *object = event->object();
    if (!object)
        return false;
    // An announcement is named while hidden and read as it appears; the name's change alone
    // costs a screen reader an event to handle before the announcement.
    if (event->type() == QAccessible::NameChanged && object->isWidgetType() &&
        !static_cast<QWidget *>(object)->isVisible() && qobject_cast<Announcement *>(object))
        return true;
    if (!isTextEvent(event->type()))
        return false;
    if (quietObjects().contains(object))
        return true;
    // The toolkit clears a field's selection as the focus leaves it.
    const auto *field = qobject_cast<const QLineEdit *>(object);
    return field && event->type() == QAccessible::TextSelectionChanged && !field->hasFocus() &&
           !field->hasSelectedText();
}

void passOn(QAccessibleEvent *event);

void filter(QAccessibleEvent *event)
{
    if (!isNoise(event))
        passOn(event);
}

void passOn(QAccessibleEvent *event)
{
    if (QAccessible::UpdateHandler previous = previousHandler()) {
        previous(event);
        return;
    }
    // Without a handler the toolkit hands the event to the platform's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(filter);
}

} // namespace

void QuietAccessibility::install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    previousHandler() = QAccessible::installUpdateHandler(filter);
}

void QuietAccessibility::setQuiet(QObject *object, bool quiet)
{
    QList<QPointer<QObject>> &objects = quietObjects();
    objects.removeAll(nullptr);
    objects.removeAll(object);
    if (quiet)
        objects.append(object);
}
