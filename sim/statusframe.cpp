#include "statusframe.h"

#include <QtGlobal>

namespace StatusFrame {

QByteArray build(const QByteArray &id, char letter, int labels)
{
    QByteArray frame;
    frame.reserve(size);
    frame += stx;
    frame += id.left(2).leftJustified(2, ' ');
    frame += letter;
    frame += QByteArray::number(qBound(0, labels, maxLabels)).rightJustified(6, '0');
    frame += etx;
    return frame;
}

} // namespace StatusFrame
