#include "qteventpump.h"

#include <QCoreApplication>

void QtEventPump::processEvents()
{
    // Socket notifiers, posted events and input are all delivered here, as at an idle moment.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
