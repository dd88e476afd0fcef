#include "framewatcher.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

FrameWatcher::FrameWatcher(QWidget &window)
    : QObject(&window)
    , m_window(window)
{
    m_window.installEventFilter(this);
}

bool FrameWatcher::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Expose:
    case QEvent::WindowActivate:
    case QEvent::WindowStateChange:
        lookAtFrame();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FrameWatcher::lookAtFrame()
{
    QWindow *handle = m_window.windowHandle();
    if (!handle)
        return;
    // Exposure reaches the platform window only, not the widget.
    if (handle != m_handle) {
        if (m_handle)
            m_handle->removeEventFilter(this);
        m_handle = handle;
        m_handle->installEventFilter(this);
    }
    const QMargins margins = handle->frameMargins();
    if (margins == m_margins)
        return;
    m_margins = margins;
    emit frameMarginsChanged();
}
