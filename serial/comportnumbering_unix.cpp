#include "comportnumbering.h"

#include <QSerialPortInfo>

ComPortNumbering systemComPortNumbering()
{
    return listedComPortNumbering([] {
        QStringList paths;
        const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &port : ports)
            paths.append(port.systemLocation());
        return paths;
    });
}
