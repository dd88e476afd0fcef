#ifndef EVENTLOG_H
#define EVENTLOG_H

#include <QString>

#include <functional>

// The simulator's log: one line per event, with the time and where it happened
// ("12:00:01.250 1025: connection from 127.0.0.1:40000"). Goes to standard error unless a
// sink is given.
class EventLog
{
public:
    using Sink = std::function<void(const QString &line)>;

    explicit EventLog(Sink sink = {});

    void write(const QString &where, const QString &what);

private:
    Sink m_sink;
};

#endif // EVENTLOG_H
