#include "frozeninput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

namespace {

// How long the drain may run when other events keep coming (a timer that restarts itself);
// what the user did while frozen is queued long before.
constexpr int drainLimitMs = 100;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::NativeGesture:
    // The window's close box: the user may not end the program under a sweep either.
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

class InputDropper : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (isUserInput(event->type()))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void dropInputMadeWhileFrozen()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    InputDropper dropper;
    application->installEventFilter(&dropper);
    QCoreApplication::processEvents(QEventLoop::AllEvents, drainLimitMs);
    application->removeEventFilter(&dropper);
}
