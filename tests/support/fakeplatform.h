#ifndef FAKEPLATFORM_H
#define FAKEPLATFORM_H

#include "clipboard.h"
#include "eventpump.h"
#include "logsink.h"
#include "modalmessagebox.h"
#include "sleeper.h"

#include <QStringList>

#include <functional>

class FakeClipboard : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;

    QString text = QStringLiteral("(untouched)");
    int clears = 0;
    int sets = 0;
};

// Records each box; onShow runs while the box would be open (events go on meanwhile).
class RecordingMessageBox : public ModalMessageBox
{
public:
    void showMessage(const QString &text) override;

    QStringList messages;
    std::function<void()> onShow;
};

// Counts the pauses and what they would have slept; sleeps not at all unless asked to.
class FakeSleeper : public Sleeper
{
public:
    void sleepMs(qint32 milliseconds) override;

    QList<qint32> pauses;
    bool reallySleep = false;
    std::function<void()> onSleep;
};

// Runs a hook where the real pump would deliver events.
class FakeEventPump : public EventPump
{
public:
    void processEvents() override;

    int calls = 0;
    std::function<void()> onProcess;
};

// A log that is only its text.
class StringLog : public LogSink
{
public:
    void AppendLog(const QString &text) override { this->text += text; }

    QString text;
};

#endif // FAKEPLATFORM_H
