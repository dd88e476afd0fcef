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
        return true;
    default:
        return false;
    }
}

class InputDropper : public QObject
{
public:
    bool closeRequested() const { return m_closeRequested; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (isUserInput(event->type()))
            return true;
        // The window's close box: the window closes under no sweep, but once it is over.
        if (event->type() == QEvent::Close) {
            m_closeRequested = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_closeRequested = false;
};

} // namespace

bool dropInputMadeWhileFrozen()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    InputDropper dropper;
    application->installEventFilter(&dropper);
    QCoreApplication::processEvents(QEventLoop::AllEvents, drainLimitMs);
    application->removeEventFilter(&dropper);
    return dropper.closeRequested();
}
