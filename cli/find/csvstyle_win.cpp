#include "csvstyle.h"

#include <windows.h>

namespace {
// LOCALE_SLIST holds up to three characters and the terminating NUL.
constexpr int listSeparatorRoom = 4;
} // namespace

CsvStyle CsvStyle::system()
{
    wchar_t separator[listSeparatorRoom] = {};
    const int length =
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, separator, listSeparatorRoom);
    const std::optional<QChar> named =
        length > 1 ? separatorNamed(QString::fromWCharArray(separator, length - 1)) : std::nullopt;
    return CsvStyle{named.value_or(QLatin1Char(',')), true};
}
