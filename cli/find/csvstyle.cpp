#include "csvstyle.h"

std::optional<QChar> CsvStyle::separatorNamed(const QString &name)
{
    if (name == QLatin1String(",") || name == QLatin1String(";"))
        return name.at(0);
    if (name == QLatin1String("tab") || name == QLatin1String("\t"))
        return QLatin1Char('\t');
    return std::nullopt;
}
