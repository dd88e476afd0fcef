#include "qteventpump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

namespace {
// A peer that never stops sending keeps the sockets busy for ever; the pump stops after so
// many rounds and the rest waits for the next time.
constexpr int maxRounds = 8;
} // namespace

void QtEventPump::processEvents()
{
    // As at an idle moment: posted events, socket notifiers, timers and input, and then what
    // those set going in turn (a connect that completes enables reading the reply already
    // behind it; socket events come through the event queue), until nothing is left.
    for (int round = 0; round < maxRounds; ++round) {
        QCoreApplication::sendPostedEvents();
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        if (!dispatcher || !dispatcher->processEvents(QEventLoop::AllEvents))
            return;
    }
}
