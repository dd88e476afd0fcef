#ifndef LOGSINK_H
#define LOGSINK_H

#include <QString>

// Where the tests, the socket buttons and the help text report. Lines end in CR LF; the
// network test's progress stars are appended without one.
class LogSink
{
public:
    virtual ~LogSink() = default;

    virtual void AppendLog(const QString &text) = 0;

    void AddLogLine(const QString &text) { AppendLog(text + QLatin1String("\r\n")); }
};

#endif // LOGSINK_H
