#include "simprocess.h"

#include <QDeadlineTimer>

#include <csignal>

namespace {
constexpr int readyTimeoutMs = 10000;
constexpr int exitTimeoutMs = 10000;
constexpr int pollMs = 20;
} // namespace

SimProcess::SimProcess()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_out += m_process.readAllStandardOutput(); });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process,
                     [this] { m_err += m_process.readAllStandardError(); });
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(exitTimeoutMs);
    }
}

QString SimProcess::program()
{
    return QStringLiteral(PRINTER_SIM_PATH);
}

void SimProcess::start(const QStringList &arguments)
{
    m_process.start(program(), arguments);
}

bool SimProcess::waitUntilReady()
{
    QDeadlineTimer deadline(readyTimeoutMs);
    while (!err().contains(QStringLiteral("printer-sim: ready: "))) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(pollMs);
    }
    return true;
}

int SimProcess::waitForExit()
{
    if (!m_process.waitForFinished(exitTimeoutMs) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

void SimProcess::sendSignal(int signalNumber)
{
    ::kill(static_cast<pid_t>(m_process.processId()), signalNumber);
}

QString SimProcess::out()
{
    m_out += m_process.readAllStandardOutput();
    return QString::fromLocal8Bit(m_out);
}

QString SimProcess::err()
{
    m_err += m_process.readAllStandardError();
    return QString::fromLocal8Bit(m_err);
}
