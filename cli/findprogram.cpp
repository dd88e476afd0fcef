#include "findprogram.h"

#include "comportsetting.h"
#include "consolewrite.h"
#include "findoptions.h"
#include "findreport.h"
#include "isterminal.h"
#include "networkfinder.h"
#include "serialfinder.h"
#include "systemcommcontrol.h"
#include "threadsleeper.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int foundExit = 0;
constexpr int notFoundExit = 1;
constexpr int usageExit = 3;
// Opening a port and sending the enquiry, beside the pause; in the bound printed beforehand.
constexpr double millisecondsPerSecond = 1000.0;

void write(std::FILE *file, const QString &text)
{
    writeWhole(file, text);
}

// On a terminal: one line that is written over as the search goes on.
class ProgressLine
{
public:
    ProgressLine(std::FILE *err, bool serial)
        : m_err(err)
        , m_serial(serial)
        , m_shown(isTerminal(err))
    {
    }
    ~ProgressLine()
    {
        if (m_shown && m_width > 0)
            write(m_err,
                  QLatin1Char('\r') + QString(m_width, QLatin1Char(' ')) + QLatin1Char('\r'));
    }
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void show(const FindResults &results, int total)
    {
        if (!m_shown)
            return;
        const QString line = FindReport::progress(results, total, m_serial);
        write(m_err, QLatin1Char('\r') + line.leftJustified(m_width));
        m_width = std::max(m_width, int(line.size()));
    }

private:
    std::FILE *m_err;
    bool m_serial = false;
    bool m_shown = false;
    int m_width = 0;
};

FindResults findOnSerialPorts(const FindOptions &options, std::FILE *err)
{
    const int attempts = (options.comTo - options.comFrom + 1) * int(options.serialSpeeds.size());
    write(err, QStringLiteral("Prøver com%1 til com%2 med hastighetene %3: høyst %4 x %5 ms = "
                              "%6 s\n")
                   .arg(options.comFrom)
                   .arg(options.comTo)
                   .arg([&] {
                       QStringList speeds;
                       for (const qint32 speed : options.serialSpeeds)
                           speeds << QString::number(speed);
                       return speeds.join(QLatin1Char(' '));
                   }())
                   .arg(attempts)
                   .arg(options.pauseMs)
                   .arg(attempts * options.pauseMs / millisecondsPerSecond, 0, 'f', 2));
    ThreadSleeper sleeper;
    const std::unique_ptr<CommControl> comPort =
        createSystemCommControl(configuredComPortNumbering());
    SerialFinder finder(*comPort, sleeper, options.comFrom, options.comTo, options.serialSpeeds,
                        options.pauseMs);
    ProgressLine progress(err, true);
    return finder.run(
        [&progress](const FindResults &results, int total) { progress.show(results, total); });
}

FindResults findOnNetwork(const FindOptions &options, std::FILE *err)
{
    NetworkFinder finder(options.addresses, options.parallel, options.timeout);
    ProgressLine progress(err, false);
    return finder.run(
        [&progress](const FindResults &results, int total) { progress.show(results, total); });
}

} // namespace

int runFindProgram(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    const FindOptions options = parseFindOptions(arguments);
    switch (options.action) {
    case FindOptions::Action::Help:
        write(out, options.helpText);
        // As the check's own --help: no search was made.
        return usageExit;
    case FindOptions::Action::Error:
        write(err, QCoreApplication::applicationName() + QStringLiteral(" find: ") + options.error +
                       QStringLiteral(" (see solvarn-sjekk find --help)\n"));
        return usageExit;
    case FindOptions::Action::Run:
        break;
    }

    const bool serial = options.mode == FindOptions::Mode::Serial;
    const FindResults results =
        serial ? findOnSerialPorts(options, err) : findOnNetwork(options, err);
    switch (options.format) {
    case FindOptions::Format::Csv:
        write(out, FindReport::csv(results));
        break;
    case FindOptions::Format::Icinga2:
        write(out, FindReport::icinga2(results));
        break;
    case FindOptions::Format::Terminal:
        write(out, FindReport::terminal(results, serial));
        break;
    }
    return results.printers.isEmpty() ? notFoundExit : foundExit;
}
