#ifndef REPLYSENDER_H
#define REPLYSENDER_H

#include "replyshape.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class EventLog;

// Sends the printer's answers on one line (a TCP connection or the pseudo-terminal) the way
// its ReplyShape says: late, in pieces, wrapped in extra bytes, doubled, as a flood, or not
// at all. Each answer is logged once, when its first byte goes out. Answers never overlap:
// one that falls due while the pieces of the last are still going out is skipped, as a
// printer busy sending would.
class ReplySender : public QObject
{
    Q_OBJECT

public:
    using FrameSource = std::function<QByteArray()>;
    using Writer = std::function<void(const QByteArray &bytes)>;
    using Backlog = std::function<qint64()>;

    // frame gives the status frame at the moment an answer goes out; write puts bytes on the
    // line; backlog tells how many written bytes still wait to leave, which paces a flood.
    ReplySender(ReplyShape shape, FrameSource frame, Writer write, Backlog backlog, EventLog *log,
                QString where, QObject *parent = nullptr);

    void answer();

    bool sendingPieces() const { return !m_pieces.isEmpty(); }
    bool flooding() const { return m_flooding; }
    qint64 floodedBytes() const { return m_flooded; }

signals:
    // The line is to be cut now, in the middle of an answer (ReplyShape::dropLine).
    void lineDropped();

private:
    void start();
    void writeNextPiece();
    void startFlood();
    void floodMore();

    ReplyShape m_shape;
    FrameSource m_frame;
    Writer m_write;
    Backlog m_backlog;
    EventLog *m_log = nullptr;
    QString m_where;
    QList<QByteArray> m_pieces;
    int m_piecesSent = 0;
    QTimer m_pieceTimer;
    QTimer m_floodTimer;
    QByteArray m_floodChunk;
    bool m_flooding = false;
    qint64 m_flooded = 0;
};

#endif // REPLYSENDER_H
