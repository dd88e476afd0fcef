#include "replycodes.h"

#include <QStringList>

namespace {
// Enough to tell noise from a device's text, short enough for one line of a list.
constexpr int shownReplyLimit = 32;
} // namespace

QString replyCodes(const QString &reply)
{
    QStringList list;
    for (const QChar c : reply.left(shownReplyLimit))
        list << QString::number(c.unicode());
    return list.join(QLatin1Char(' ')) +
           (reply.size() > shownReplyLimit ? QStringLiteral(" ...") : QString());
}
