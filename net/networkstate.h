#ifndef NETWORKSTATE_H
#define NETWORKSTATE_H

#include "printerstatus.h"

#include <QString>

#include <optional>

// The window's variables of the network test. Handlers that run nested inside the test (socket
// events, clicks) write them too; the last writer wins.
struct NetworkState
{
    // The last status or socket error text; one that contains "FEIL" counts as an error.
    QString strStatus;
    // A status reply has been decoded since the test started.
    bool bStatusReceived = false;
    // The decoded status whose text strStatus holds; empty once anything else is written there.
    std::optional<PrinterStatus> status;
    // "KLIKK", "PRINT", "PRINTING", "FERDIG", "HELTFERDIG" or "ERROR".
    QString strTestState;
    // The address as read when the test started, for the log lines.
    QString strPrinterIP;
    // The address the test connects to.
    QString strConnectIP;
    // The passes of the polling loop that the last test ran; more than its limit means that no
    // printer was found.
    qint16 intLoops = 0;
};

#endif // NETWORKSTATE_H
