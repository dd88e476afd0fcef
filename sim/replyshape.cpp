#include "replyshape.h"

#include <QtGlobal>

QByteArray ReplyShape::wrap(const QByteArray &frame) const
{
    const QByteArray once = prefix + frame + suffix;
    return twice ? once + once : once;
}

QList<QByteArray> ReplyShape::cut(const QByteArray &reply) const
{
    QList<QByteArray> result;
    if (reply.isEmpty())
        return result;
    const qsizetype count = qBound(qsizetype(1), qsizetype(pieces), reply.size());
    const qsizetype base = reply.size() / count;
    const qsizetype longer = reply.size() % count;
    qsizetype at = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype length = base + (i < longer ? 1 : 0);
        result += reply.mid(at, length);
        at += length;
    }
    return result;
}
