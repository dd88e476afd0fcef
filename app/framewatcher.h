#ifndef FRAMEWATCHER_H
#define FRAMEWATCHER_H

#include <QMargins>
#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

// Tells when the frame around a top-level window (border and title bar) has changed. A window
// manager puts its frame around a window only after the window is first shown, and the window
// learns of it without any resize: whatever is sized from the outer size then has to be sized
// again. The frame is looked at whenever the window is shown, exposed, moved, activated or
// changes state, which is when a window manager's frame arrives or changes.
class FrameWatcher : public QObject
{
    Q_OBJECT

public:
    explicit FrameWatcher(QWidget &window);

signals:
    void frameMarginsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void lookAtFrame();

    QWidget &m_window;
    QPointer<QWindow> m_handle;
    QMargins m_margins;
};

#endif // FRAMEWATCHER_H
