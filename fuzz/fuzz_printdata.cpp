// Print data on printer-sim's port 1024: any bytes, in any pieces. Input: start labels (3
// bytes), piece lengths, then the data.
//
// Properties: each piece prints the labels of the jobs it completes, by a small model of the
// jobs (ESC Q and up to six digits set the quantity, ESC Z ends a job and prints it, one
// label without a quantity), held at 999999; the jobs counted are the model's; the printer's
// labels stay within 0..999999 and its frame keeps its eleven bytes.

#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "printdatacounter.h"
#include "printerstate.h"
#include "statusframe.h"

#include <QtGlobal>

namespace {

constexpr char esc = '\x1b';
constexpr int maxPieces = 64;
constexpr int maxPieceLength = 4096;

// The quantity of each job, indexed by the position of the byte that ends it.
QList<QPair<qsizetype, qint64>> modelJobs(const QByteArray &stream)
{
    QList<QPair<qsizetype, qint64>> jobs;
    qint64 quantity = 1;
    qsizetype i = 0;
    while (i < stream.size()) {
        if (stream.at(i) != esc || i + 1 >= stream.size()) {
            ++i;
            continue;
        }
        const char command = stream.at(i + 1);
        if (command == 'Z') {
            jobs += qMakePair(i + 1, quantity);
            quantity = 1;
            i += 2;
        } else if (command == 'Q') {
            qsizetype end = i + 2;
            while (end < stream.size() && end - (i + 2) < 6 && stream.at(end) >= '0' &&
                   stream.at(end) <= '9')
                ++end;
            if (end > i + 2)
                quantity = stream.mid(i + 2, end - (i + 2)).toLongLong();
            i = end;
        } else {
            // ESC and any other byte: only a following ESC can start a command.
            ++i;
        }
    }
    return jobs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const int startLabels = (input.byte() | input.byte() << 8 | input.byte() << 16) % 1000000;
    const QList<int> lengths = input.lengths(maxPieces, maxPieceLength);
    const QByteArray stream = input.rest();
    const QList<QByteArray> pieces = cutInto(stream, lengths);
    const QList<QPair<qsizetype, qint64>> jobs = modelJobs(stream);

    PrintDataCounter counter;
    PrinterState printer(StatusFrame::noJobId, 'A', startLabels);
    qsizetype pieceEnd = 0;
    qsizetype nextJob = 0;
    for (const QByteArray &piece : pieces) {
        pieceEnd += piece.size();
        qint64 expected = 0;
        while (nextJob < jobs.size() && jobs.at(nextJob).first < pieceEnd)
            expected += jobs.at(nextJob++).second;
        const int printed = counter.take(piece);
        fuzzCheck(printed == qMin<qint64>(expected, StatusFrame::maxLabels),
                  "each piece prints its completed jobs, held at 999999", [&] {
                      return QString(QStringLiteral("printed %1, model %2, piece %3")
                                         .arg(printed)
                                         .arg(expected)
                                         .arg(escaped(piece.left(80))));
                  });
        printer.print(printed);
        fuzzCheck(printer.labels() >= 0 && printer.labels() <= StatusFrame::maxLabels &&
                      printer.frame().size() == StatusFrame::size,
                  "labels within 0..999999 and a whole frame");
    }
    fuzzCheck(counter.jobs() == jobs.size(), "the jobs counted are the model's", [&] {
        return QString(QStringLiteral("%1 against %2").arg(counter.jobs()).arg(jobs.size()));
    });
    return 0;
}
