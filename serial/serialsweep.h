#ifndef SERIALSWEEP_H
#define SERIALSWEEP_H

#include <QString>
#include <QtGlobal>

#include "serialsweephost.h"

class CommControl;
class LogSink;
class Sleeper;
struct RuntimeError;

// The serial printer test: sends the status enquiry on every COM port of the range given in
// the fields and logs what each one answers.
//
// It runs to its end on the caller's thread and lets no window events run meanwhile; the host
// hears after each port. Every failure is trapped where it arises and logged, and
// the sweep goes on: nothing it calls can end it early or escape from it.
class SerialSweep
{
public:
    // What one port may hand over, the most that the byte list's 16-bit index covers. A device
    // that never stops sending is read up to here and no further.
    static constexpr int replyLimit = 32767;
    // Passes of the reply loop in a row that take nothing in (the count or the read failing,
    // or a read that returns nothing) before the sweep gives up on collecting from the port.
    static constexpr int idlePassLimit = 100;

    SerialSweep(SerialSweepHost &host, CommControl &comPort, Sleeper &sleeper, LogSink &log);

    void TestSerialPrinter(const SerialSweepFields &fields);

private:
    enum class Outcome { Done, OtherError, KnownError };

    template <typename Step> Outcome attempt(Step &&step);
    Outcome report(const RuntimeError &error);
    void closePortLeftOpen();
    void tryPort(qint16 intPort, const QString &strHastighet, qint16 intPause);
    void askPort(qint16 intPort, const QString &strHastighet, qint16 intPause);
    Outcome collectReply(QString &strData);

    SerialSweepHost &m_host;
    CommControl &m_comPort;
    Sleeper &m_sleeper;
    LogSink &m_log;
    // The first error met at the port being tried, 0 while none; whether it answered.
    qint32 m_portError = 0;
    bool m_portReplied = false;
};

#endif // SERIALSWEEP_H
