#include "csvoptions.h"

#include <optional>

QString CsvOptions::read(const QCommandLineParser &parser, bool csv, CsvStyle &style) const
{
    if (!csv && (parser.isSet(separator) || parser.isSet(byteOrderMark)))
        return QStringLiteral("--separator and --bom are for --csv");
    if (parser.isSet(separator)) {
        const std::optional<QChar> named = CsvStyle::separatorNamed(parser.value(separator));
        if (!named)
            return QStringLiteral("--separator needs \",\", \";\" or \"tab\", not \"%1\"")
                .arg(parser.value(separator));
        style.separator = *named;
    }
    if (parser.isSet(byteOrderMark))
        style.byteOrderMark = true;
    return QString();
}
