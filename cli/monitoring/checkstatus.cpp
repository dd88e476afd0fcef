#include "checkstatus.h"

QString checkStatusWord(CheckStatus status)
{
    switch (status) {
    case CheckStatus::Ok:
        return QStringLiteral("OK");
    case CheckStatus::Warning:
        return QStringLiteral("WARNING");
    case CheckStatus::Critical:
        return QStringLiteral("CRITICAL");
    case CheckStatus::Unknown:
        break;
    }
    return QStringLiteral("UNKNOWN");
}

std::optional<CheckStatus> readCheckStatus(const QString &text)
{
    for (const CheckStatus status :
         {CheckStatus::Ok, CheckStatus::Warning, CheckStatus::Critical, CheckStatus::Unknown}) {
        if (text == QString::number(static_cast<int>(status)) ||
            text.compare(checkStatusWord(status), Qt::CaseInsensitive) == 0)
            return status;
    }
    return std::nullopt;
}

CheckStatus statusOfLetter(const QString &letter)
{
    // Each group of four: the first letter is plain, the next three add ribbon, memory, both.
    static const QString ready = QStringLiteral("AGMS");
    static const QString warning = QStringLiteral("BCDHIJNOPTUV");
    if (letter.size() != 1)
        return CheckStatus::Critical;
    if (ready.contains(letter.at(0)))
        return CheckStatus::Ok;
    if (warning.contains(letter.at(0)))
        return CheckStatus::Warning;
    return CheckStatus::Critical;
}

CheckStatus worseStatus(CheckStatus left, CheckStatus right)
{
    return static_cast<int>(left) >= static_cast<int>(right) ? left : right;
}
