#include "interruptwatch.h"

namespace {

constexpr int signalExitBase = 128;

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void noteSignal(int signal)
{
    caughtSignal = signal;
}

} // namespace

InterruptWatch::InterruptWatch()
{
    caughtSignal = 0;
    m_oldInterrupt = std::signal(SIGINT, noteSignal);
    if (m_oldInterrupt == SIG_IGN)
        std::signal(SIGINT, SIG_IGN);
    m_oldTerminate = std::signal(SIGTERM, noteSignal);
}

InterruptWatch::~InterruptWatch()
{
    std::signal(SIGINT, m_oldInterrupt == SIG_ERR ? SIG_DFL : m_oldInterrupt);
    std::signal(SIGTERM, m_oldTerminate == SIG_ERR ? SIG_DFL : m_oldTerminate);
}

int InterruptWatch::caught()
{
    return caughtSignal;
}

int InterruptWatch::exitStatus(int signal)
{
    return signalExitBase + signal;
}
