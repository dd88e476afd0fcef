#include "answeringsleeper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>

#include <algorithm>

namespace {

// How long a question of assistive technology may wait during a pause. A screen reader asks
// dozens of them for one event, one after the other: a test's start is told only once the
// focus's move has been presented.
constexpr qint64 answerSliceMs = 1;

} // namespace

AnsweringSleeper::AnsweringSleeper(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
}

AnsweringSleeper::~AnsweringSleeper()
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool AnsweringSleeper::eventFilter(QObject *watched, QEvent *event)
{
    // The bridge's objects on the bus: the tree of accessible objects and the cache of it.
    // Their calls arrive as meta calls posted to them.
    //
    // A seam into Qt's insides, as Qt 6.4.2 (Debian 12) has them: AtSpiAdaptor and
    // QSpiDBusCache are private classes of Qt's AT-SPI bridge (qtbase src/gui/accessible/linux).
    // The bridge reads each call of assistive technology on its D-Bus thread and posts it to the
    // window's thread (QDBusActivateObjectEvent, QEvent::MetaCall), so that a thread that sleeps
    // answers nothing, and Qt offers no public way to answer those calls alone. Should a later
    // Qt rename the classes or deliver the calls otherwise, the pauses answer nothing again and
    // screen readers fall silent until each pause ends: tst_accessibilityseams_atspi fails.
    if (event->type() == QEvent::MetaCall && watched &&
        (watched->inherits("AtSpiAdaptor") || watched->inherits("QSpiDBusCache")) &&
        !m_bridgeObjects.contains(watched)) {
        m_bridgeObjects.removeAll(nullptr);
        m_bridgeObjects.append(watched);
    }
    return QObject::eventFilter(watched, event);
}

void AnsweringSleeper::answerWaitingCalls()
{
    // A copy: an answer may deliver a first call to another of the bridge's objects.
    const QList<QPointer<QObject>> bridgeObjects = m_bridgeObjects;
    for (const QPointer<QObject> &bridgeObject : bridgeObjects) {
        if (bridgeObject)
            QCoreApplication::sendPostedEvents(bridgeObject, QEvent::MetaCall);
    }
}

void AnsweringSleeper::sleepMs(qint32 milliseconds)
{
    if (milliseconds <= 0)
        return;
    if (m_bridgeObjects.isEmpty()) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
        return;
    }
    const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
    for (;;) {
        answerWaitingCalls();
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return;
        QThread::msleep(static_cast<unsigned long>(std::min(left, answerSliceMs)));
    }
}
