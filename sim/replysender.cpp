#include "replysender.h"

#include "bytetext.h"
#include "eventlog.h"

#include <chrono>

namespace {
using namespace std::chrono_literals;

// A flood tops the line up every tick to a bounded backlog, so a peer that reads slowly or
// not at all does not make the simulator's memory grow.
constexpr auto floodTick = 10ms;
constexpr qsizetype floodChunkBytes = 4096;
constexpr qint64 floodMaxBacklog = 64 * 1024;
constexpr int floodChunksPerTick = 16;
// Enough for any prefix and suffix a person types; longer answers are cut in the log only.
constexpr int loggedReplyBytes = 256;
} // namespace

ReplySender::ReplySender(ReplyShape shape, FrameSource frame, Writer write, Backlog backlog,
                         EventLog *log, QString where, QObject *parent)
    : QObject(parent)
    , m_shape(std::move(shape))
    , m_frame(std::move(frame))
    , m_write(std::move(write))
    , m_backlog(std::move(backlog))
    , m_log(log)
    , m_where(std::move(where))
{
    m_pieceTimer.setSingleShot(true);
    connect(&m_pieceTimer, &QTimer::timeout, this, &ReplySender::writeNextPiece);
    m_floodTimer.setInterval(floodTick);
    connect(&m_floodTimer, &QTimer::timeout, this, &ReplySender::floodMore);
}

void ReplySender::answer()
{
    if (m_shape.silent || m_flooding)
        return;
    if (m_shape.delayMs > 0)
        QTimer::singleShot(m_shape.delayMs, this, &ReplySender::start);
    else
        start();
}

void ReplySender::start()
{
    if (m_shape.flood) {
        startFlood();
        return;
    }
    if (sendingPieces()) {
        m_log->write(m_where, QStringLiteral("answer skipped: the last one is still going out"));
        return;
    }
    const QByteArray reply = m_shape.wrap(m_frame());
    m_pieces = m_shape.cut(reply);
    QString what = QStringLiteral("sent %1 (%2 bytes")
                       .arg(ByteText::visible(reply, loggedReplyBytes))
                       .arg(reply.size());
    if (m_pieces.size() > 1)
        what += QStringLiteral(" in %1 pieces, %2 ms apart")
                    .arg(m_pieces.size())
                    .arg(m_shape.pieceGapMs);
    m_log->write(m_where, what + QLatin1Char(')'));
    writeNextPiece();
}

void ReplySender::writeNextPiece()
{
    if (m_pieces.isEmpty())
        return;
    if (m_shape.dropLine && m_piecesSent > 0) {
        m_pieces.clear();
        m_piecesSent = 0;
        emit lineDropped();
        return;
    }
    m_write(m_pieces.takeFirst());
    ++m_piecesSent;
    if (m_pieces.isEmpty())
        m_piecesSent = 0;
    else
        m_pieceTimer.start(m_shape.pieceGapMs);
}

void ReplySender::startFlood()
{
    if (m_flooding)
        return;
    m_flooding = true;
    const QByteArray unit =
        m_shape.floodUnit.isEmpty() ? m_shape.wrap(m_frame()) : m_shape.floodUnit;
    if (unit.isEmpty())
        return;
    while (m_floodChunk.size() < floodChunkBytes)
        m_floodChunk += unit;
    m_log->write(m_where,
                 QStringLiteral("flooding: %1 repeated without end").arg(ByteText::visible(unit)));
    m_floodTimer.start();
    floodMore();
}

void ReplySender::floodMore()
{
    for (int i = 0; i < floodChunksPerTick && m_backlog() < floodMaxBacklog; ++i) {
        m_write(m_floodChunk);
        m_flooded += m_floodChunk.size();
    }
}
