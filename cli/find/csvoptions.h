#ifndef CSVOPTIONS_H
#define CSVOPTIONS_H

#include "csvstyle.h"
#include "optionreader.h"

#include <QCommandLineOption>
#include <QString>

// find's options for the style of its CSV list, read apart from the others.
struct CsvOptions
{
    QCommandLineOption separator{
        QStringLiteral("separator"),
        QStringLiteral("--csv: the field separator, \",\", \";\" or \"tab\" (default: a comma; on "
                       "Windows the user's list separator, \";\" in Norway)."),
        QStringLiteral("SEP")};
    QCommandLineOption byteOrderMark{
        QStringLiteral("bom"),
        QStringLiteral("--csv: start the list with a byte order mark, so that Excel reads its "
                       "letters as UTF-8 (always so on Windows).")};

    // Reads the options into style. Returns what is wrong with them, or nothing.
    QString read(const OptionReader &reader, bool csv, CsvStyle &style) const;
};

#endif // CSVOPTIONS_H
