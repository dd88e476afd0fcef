#ifndef REPLYSHAPE_H
#define REPLYSHAPE_H

#include <QByteArray>
#include <QList>

// How the simulated printer misbehaves when it answers: the bytes around the frame, how
// late and in how many pieces they go out, or not at all.
struct ReplyShape
{
    static constexpr int defaultPieceGapMs = 50;

    bool silent = false;                // never answer
    int delayMs = 0;                    // answer this late
    int pieces = 1;                     // cut each answer into this many pieces...
    int pieceGapMs = defaultPieceGapMs; // ...with this pause between them
    QByteArray prefix;                  // bytes before the STX
    QByteArray suffix;                  // bytes after the ETX
    bool twice = false;                 // two frames at once
    bool flood = false;                 // answer with floodUnit repeated without end
    QByteArray floodUnit;               // empty: the answer itself
    bool dropLine = false;              // close the line when the second piece is due

    // The answer for this frame: prefix, frame, suffix; all of it twice when asked.
    QByteArray wrap(const QByteArray &frame) const;

    // The answer cut into pieces of nearly equal length (the earlier ones a byte longer), no
    // more pieces than bytes; an empty answer gives no piece.
    QList<QByteArray> cut(const QByteArray &reply) const;
};

#endif // REPLYSHAPE_H
