#include "csvoptions.h"

#include <optional>

QString CsvOptions::read(const OptionReader &reader, bool csv, CsvStyle &style) const
{
    if (!csv && (reader.isSet(separator) || reader.isSet(byteOrderMark)))
        return QStringLiteral("--separator and --bom are for --csv");
    if (reader.isSet(separator)) {
        const std::optional<QChar> named = CsvStyle::separatorNamed(reader.value(separator));
        if (!named)
            return QStringLiteral("--separator needs \",\", \";\" or \"tab\", not \"%1\"")
                .arg(reader.value(separator));
        style.separator = *named;
    }
    if (reader.isSet(byteOrderMark))
        style.byteOrderMark = true;
    return QString();
}
