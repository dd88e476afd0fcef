#include "fakeplatform.h"

#include <QThread>

void FakeClipboard::clear()
{
    ++clears;
    text.clear();
}

void FakeClipboard::setText(const QString &newText)
{
    ++sets;
    text = newText;
}

void RecordingMessageBox::showMessage(const QString &text)
{
    messages.append(text);
    if (onShow)
        onShow();
}

void FakeSleeper::sleepMs(qint32 milliseconds)
{
    pauses.append(milliseconds);
    if (onSleep)
        onSleep();
    if (reallySleep && milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void FakeEventPump::processEvents()
{
    ++calls;
    if (onProcess)
        onProcess();
}
