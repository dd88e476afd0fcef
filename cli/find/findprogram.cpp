#include "findprogram.h"

#include "comportsetting.h"
#include "consolewrite.h"
#include "descriptorroom.h"
#include "findoptions.h"
#include "findreport.h"
#include "interruptwatch.h"
#include "isterminal.h"
#include "networkfinder.h"
#include "pipetext.h"
#include "serialfinder.h"
#include "serialrules.h"
#include "systemcommcontrol.h"
#include "threadsleeper.h"
#include "watchedcommcontrol.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int foundExit = 0;
constexpr int notFoundExit = 1;
// Usage errors, and a search or a write this computer could not do.
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
    if (options.portsCorrected)
        write(err, SerialRules::portsCorrectedText() + QLatin1Char('\n'));
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
    const ComPortNumbering numbering = configuredComPortNumbering();
    const std::unique_ptr<CommControl> systemPort = createSystemCommControl(numbering);
    SerialFinder *told = nullptr;
    WatchedCommControl comPort(*systemPort, numbering.resolve,
                               [&told](qint16 port, const QString &device) {
                                   if (told)
                                       told->portDenied(port, device);
                               });
    comPort.setOpenFailedHandler([&told, &numbering](qint16 port, qint32 number) {
        if (told)
            told->openFailed(port, number, numbering.resolve ? numbering.resolve(port) : QString());
    });
    SerialFinder finder(comPort, sleeper, options.comFrom, options.comTo, options.serialSpeeds,
                        options.pauseMs);
    told = &finder;
    finder.setStopWhen(&InterruptWatch::caught);
    ProgressLine progress(err, true);
    return finder.run(
        [&progress](const FindResults &results, int total) { progress.show(results, total); });
}

FindResults findOnNetwork(const FindOptions &options, std::FILE *err)
{
    // No more connections than the addresses can use; as many of them as the process may open.
    const int wanted = std::min(options.parallel, int(options.addresses.size()) *
                                                      NetworkFinder::connectionsPerAddress);
    const DescriptorRoom room = makeDescriptorRoom(wanted);
    if (room.free < NetworkFinder::connectionsPerAddress) {
        FindResults results;
        results.total = int(options.addresses.size());
        results.failure = QStringLiteral("only %1 files may be opened beside those open (the limit "
                                         "of open files is %2); an address needs %3")
                              .arg(room.free)
                              .arg(room.limit)
                              .arg(NetworkFinder::connectionsPerAddress);
        return results;
    }
    const int parallel = room.free - room.free % NetworkFinder::connectionsPerAddress;
    const qsizetype count = options.addresses.size();
    const qsizetype rounds = (count + parallel / NetworkFinder::connectionsPerAddress - 1) /
                             (parallel / NetworkFinder::connectionsPerAddress);
    write(err, QStringLiteral("Prøver %1, %2 om gangen: høyst %3 x %4 s = %5 s\n")
                   .arg(FindReport::counted(count, QStringLiteral("adresse"),
                                            QStringLiteral("adresser")))
                   .arg(parallel / NetworkFinder::connectionsPerAddress)
                   .arg(rounds)
                   .arg(options.timeout.count() / millisecondsPerSecond, 0, 'f', 2)
                   .arg(rounds * options.timeout.count() / millisecondsPerSecond, 0, 'f', 2));
    NetworkFinder finder(options.addresses, parallel, options.timeout);
    finder.setStopWhen(&InterruptWatch::caught);
    ProgressLine progress(err, false);
    return finder.run(
        [&progress](const FindResults &results, int total) { progress.show(results, total); });
}

// The list in the format asked for, and the form of its bytes: a list for a person in the
// system's own form, one for other programs in UTF-8.
struct FoundList
{
    QString text;
    PipeText::Form form = PipeText::Form::Local;
};

FoundList foundList(const FindOptions &options, const FindResults &results, std::FILE *out,
                    std::FILE *err)
{
    const bool serial = options.mode == FindOptions::Mode::Serial;
    const bool interrupted = results.interruptedBy != 0;
    FoundList list;
    switch (options.format) {
    case FindOptions::Format::Csv:
        list.text = FindReport::csv(results, options.csv.separator);
        list.form = PipeText::Form::Utf8Lines;
        // A mark is for a file: a terminal would show it.
        if (options.csv.byteOrderMark && (!options.outputFile.isEmpty() || !isTerminal(out)))
            list.text.prepend(QChar(QChar::ByteOrderMark));
        // The CSV stays one header and its records; how far it came goes beside it.
        if (interrupted)
            write(err, FindReport::interrupted(results, serial) + QLatin1Char('\n'));
        break;
    case FindOptions::Format::Icinga2:
        list.text = FindReport::icinga2(results);
        list.form = PipeText::Form::Exact;
        if (interrupted)
            list.text += QStringLiteral("/* ") + FindReport::interrupted(results, serial) +
                         QStringLiteral(" */\n");
        break;
    case FindOptions::Format::Terminal:
        list.text = FindReport::terminal(results, serial);
        break;
    }
    return list;
}

} // namespace

int runFindProgram(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    const FindOptions options = parseFindOptions(arguments);
    switch (options.action) {
    case FindOptions::Action::Help:
    // find has no --version of its own: the reader never ends there.
    case FindOptions::Action::Version:
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
    const InterruptWatch interrupts;
    const FindResults results =
        serial ? findOnSerialPorts(options, err) : findOnNetwork(options, err);
    const QString program = QCoreApplication::applicationName() + QStringLiteral(" find: ");
    if (!results.failure.isEmpty()) {
        write(err, program + QStringLiteral("the search cannot be done on this computer: ") +
                       results.failure + QLatin1Char('\n'));
        return usageExit;
    }
    const bool interrupted = results.interruptedBy != 0;
    const FoundList list = foundList(options, results, out, err);
    const int found = interrupted ? InterruptWatch::exitStatus(results.interruptedBy)
                      : results.printers.isEmpty() ? notFoundExit
                                                   : foundExit;
    if (options.outputFile.isEmpty()) {
        if (!writeWhole(out, list.text, list.form)) {
            write(err, program +
                           QStringLiteral("the list could not be written to standard "
                                          "output: ") +
                           QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char('\n'));
            return usageExit;
        }
        return found;
    }
    // A list without printers, or a part of one, never takes the place of a whole list.
    if (results.printers.isEmpty() || interrupted) {
        write(err,
              program + options.outputFile +
                  (interrupted ? QStringLiteral(" left as it was: the search was interrupted\n")
                               : QStringLiteral(" left as it was: no printer found\n")));
        return found;
    }
    QSaveFile file(options.outputFile);
    const QByteArray bytes = PipeText::bytes(list.text, list.form);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        write(err, program + options.outputFile + QStringLiteral(" could not be written: ") +
                       file.errorString() + QLatin1Char('\n'));
        return usageExit;
    }
    return found;
}
