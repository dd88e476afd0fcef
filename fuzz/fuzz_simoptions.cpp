// printer-sim's command line. Input: the arguments after the program name, each ended by a
// zero byte, as UTF-8.
//
// Properties: the parse is the same every time; a run only with values in their ranges and a
// loopback address (or one named by --allow-non-loopback); no run only with help or version
// text (exit 0) or an error text and a usage or address exit status.

#include "fuzzcheck.h"
#include "simoptionparser.h"

namespace {

QString described(const QStringList &arguments)
{
    return escaped(arguments.join(QStringLiteral(" | ")));
}

void checkRanges(const SimOptions &options, const QStringList &arguments)
{
    const ReplyShape &reply = options.reply;
    const bool inRange = options.labels >= 0 && options.labels <= 999999 &&
                         options.id.size() == 2 && options.intervalMs >= 10 &&
                         options.intervalMs <= 60000 && reply.delayMs >= 0 &&
                         reply.delayMs <= 600000 && reply.pieces >= 1 && reply.pieces <= 1000 &&
                         reply.pieceGapMs >= 0 && reply.pieceGapMs <= 60000 &&
                         (!reply.dropLine || (options.serial && reply.pieces >= 2));
    fuzzCheck(inRange, "a run only with values in range",
              [&] { return QString(described(arguments)); });
    if (!options.serial && !options.address.isLoopback()) {
        const bool named = arguments.contains(QStringLiteral("--allow-non-loopback")) ||
                           arguments.filter(QStringLiteral("--allow-non-loopback=")).size() > 0;
        fuzzCheck(named, "an address outside loopback only when named twice", [&] {
            return QString(described(arguments) + QStringLiteral(" -> ") +
                           options.address.toString());
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments{QStringLiteral("printer-sim")};
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!bytes.isEmpty()) {
        for (const QByteArray &argument : bytes.split('\0'))
            arguments += QString::fromUtf8(argument);
    }

    const ParseOutcome outcome = SimOptionParser::parse(arguments);
    const ParseOutcome again = SimOptionParser::parse(arguments);
    fuzzCheck(outcome.run == again.run && outcome.exitCode == again.exitCode &&
                  outcome.error == again.error,
              "the same parse every time", [&] { return QString(described(arguments)); });

    if (outcome.run) {
        fuzzCheck(outcome.exitCode == SimExit::Ok && outcome.error.isEmpty(), "a run has no error",
                  [&] { return QString(described(arguments)); });
        checkRanges(outcome.options, arguments);
    } else if (outcome.exitCode == SimExit::Ok) {
        fuzzCheck(!outcome.output.isEmpty(), "help or version has text",
                  [&] { return QString(described(arguments)); });
    } else {
        fuzzCheck((outcome.exitCode == SimExit::UsageError ||
                   outcome.exitCode == SimExit::AddressRefused) &&
                      !outcome.error.isEmpty(),
                  "a refusal has its exit status and a reason",
                  [&] { return QString(described(arguments)); });
    }
    return 0;
}
