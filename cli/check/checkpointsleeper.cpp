#include "checkpointsleeper.h"

#include <utility>

CheckpointSleeper::CheckpointSleeper(Sleeper &inner)
    : m_inner(inner)
{
}

void CheckpointSleeper::setCheckpoint(std::function<void()> checkpoint)
{
    m_checkpoint = std::move(checkpoint);
}

void CheckpointSleeper::sleepMs(qint32 milliseconds)
{
    if (m_checkpoint)
        m_checkpoint();
    m_inner.sleepMs(milliseconds);
}
