#ifndef SIMOPTIONS_H
#define SIMOPTIONS_H

#include "replyshape.h"
#include "statusframe.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>

// When the network printer sends its status frame on port 1025.
enum class ReplyTiming {
    Cycle, // on connect and then every interval while connected
    Enq    // for each ENQ that arrives on port 1024
};

// Everything the command line tells the simulator to be.
struct SimOptions
{
    static constexpr quint16 statusPort = 1025;
    static constexpr quint16 dataPort = 1024;
    static constexpr int defaultLabels = 500;
    static constexpr int defaultIntervalMs = 500;

    // What the printer is.
    char status = 'A';
    QByteArray id = StatusFrame::noJobId;
    int labels = defaultLabels;

    // Network side.
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    ReplyTiming timing = ReplyTiming::Cycle;
    int intervalMs = defaultIntervalMs;
    bool closeOnConnect = false;
    bool refuseDataPort = false;
    bool refuseStatusPort = false;

    // Serial side, instead of the network.
    bool serial = false;
    QString linkPath;
    // Answer only at this speed (and 8N1); 0: at any.
    qint32 lineSpeed = 0;

    // Misbehaviours, on either side.
    ReplyShape reply;
};

#endif // SIMOPTIONS_H
