#include "eventlog.h"

#include <QTime>

#include <cstdio>

EventLog::EventLog(Sink sink)
    : m_sink(std::move(sink))
{
}

void EventLog::write(const QString &where, const QString &what)
{
    const QString line =
        QStringLiteral("%1 %2: %3")
            .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), where, what);
    if (m_sink) {
        m_sink(line);
        return;
    }
    // Flushed line by line so that a script reading the log sees each event as it happens.
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}
