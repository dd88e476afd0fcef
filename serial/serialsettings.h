#ifndef SERIALSETTINGS_H
#define SERIALSETTINGS_H

#include <QSerialPort>
#include <QString>

#include <optional>

// The line settings of a serial control's settings text "speed,parity,data bits,stop bits",
// for example "9600,n,8,1".
struct SerialSettings
{
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// The settings of a text in that form: a speed of digits only (1 and up), a parity letter of
// n, e, o, m or s in either case, 5 to 8 data bits, and 1, 1.5 or 2 stop bits, with nothing
// around or between them. Whether a port can run at the speed is for the port to say.
std::optional<SerialSettings> parseSerialSettings(const QString &text);

#endif // SERIALSETTINGS_H
