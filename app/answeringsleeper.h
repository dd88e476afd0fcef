#ifndef ANSWERINGSLEEPER_H
#define ANSWERINGSLEEPER_H

#include "sleeper.h"

#include <QList>
#include <QObject>
#include <QPointer>

// The window's pause: as long as a plain sleep, and like it lets none of the window's events
// run (no clicks, keys, timers, paints or socket events), so both tests behave and log
// exactly as with a plain sleep. Only the questions of assistive technology are answered
// meanwhile, every few milliseconds: the accessibility bridge receives them on a thread of
// its own and hands each to the window's thread as a call of one of its objects, which reads the
// window's state. Without that, a screen reader waits for the end of each pause, and in a
// serial sweep for the end of the sweep, before it can say anything.
class AnsweringSleeper : public QObject, public Sleeper
{
public:
    explicit AnsweringSleeper(QObject *parent = nullptr);
    ~AnsweringSleeper() override;

    void sleepMs(qint32 milliseconds) override;

protected:
    // Learns the bridge's objects from the first call delivered to each.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void answerWaitingCalls();

    QList<QPointer<QObject>> m_bridgeObjects;
};

#endif // ANSWERINGSLEEPER_H
