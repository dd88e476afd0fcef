#ifndef SIMRIG_H
#define SIMRIG_H

#include "eventlog.h"
#include "printerstate.h"
#include "simoptionparser.h"

#include <QStringList>

#include <algorithm>
#include <memory>

// The simulator's options from a command line as a test writes it (without the program name).
inline SimOptions parseSimOptions(QStringList arguments)
{
    arguments.prepend(QStringLiteral("printer-sim"));
    const ParseOutcome outcome = SimOptionParser::parse(arguments);
    if (!outcome.run)
        qFatal("bad test arguments: %s", qPrintable(outcome.error));
    return outcome.options;
}

// A printer side (serial or network) as the simulator runs it, with its log kept for the test.
template <typename Printer> class SimRig
{
public:
    explicit SimRig(const SimOptions &options)
        : state(options.id, options.status, options.labels)
        , printer(std::make_unique<Printer>(options, &state, &log))
    {
    }

    bool logged(const QString &part) const
    {
        return std::any_of(lines.cbegin(), lines.cend(),
                           [&](const QString &line) { return line.contains(part); });
    }

    QStringList lines;
    QString error;
    EventLog log{[this](const QString &line) { lines += line; }};
    PrinterState state;
    std::unique_ptr<Printer> printer;
};

#endif // SIMRIG_H
