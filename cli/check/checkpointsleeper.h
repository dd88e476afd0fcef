#ifndef CHECKPOINTSLEEPER_H
#define CHECKPOINTSLEEPER_H

#include "sleeper.h"

#include <functional>

// A sleeper that calls a checkpoint before each sleep. The network test sleeps once per pass,
// after it has taken the pass's events and step: a point where its state holds still and the
// command line can note what the test has found so far.
class CheckpointSleeper : public Sleeper
{
public:
    explicit CheckpointSleeper(Sleeper &inner);

    void setCheckpoint(std::function<void()> checkpoint);
    void sleepMs(qint32 milliseconds) override;

private:
    Sleeper &m_inner;
    std::function<void()> m_checkpoint;
};

#endif // CHECKPOINTSLEEPER_H
