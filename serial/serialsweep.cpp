#include "serialsweep.h"

SerialSweep::SerialSweep(const SerialSweepControls &controls, CommControl &comPort,
                         Sleeper &sleeper, LogSink &log)
    : m_controls(controls)
    , m_comPort(comPort)
    , m_sleeper(sleeper)
    , m_log(log)
{
}

void SerialSweep::TestSerialPrinter()
{
    // Built by the serial sweep work.
}
