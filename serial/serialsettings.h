#ifndef SERIALSETTINGS_H
#define SERIALSETTINGS_H

#include <QString>

#include <optional>

// Parity, data bits and stop bits with the values of Qt's serial port enumerations, which the
// Qt adapter passes on unchanged. Kept apart from Qt's serial port module, which the Windows
// build does without.
namespace SerialLine {
enum Parity : int { NoParity = 0, EvenParity = 2, OddParity = 3, SpaceParity = 4, MarkParity = 5 };
enum DataBits : int { Data5 = 5, Data6 = 6, Data7 = 7, Data8 = 8 };
enum StopBits : int { OneStop = 1, TwoStop = 2, OneAndHalfStop = 3 };
} // namespace SerialLine

// The line settings of a serial control's settings text "speed,parity,data bits,stop bits",
// for example "9600,n,8,1".
struct SerialSettings
{
    qint32 baudRate = 9600;
    SerialLine::Parity parity = SerialLine::NoParity;
    SerialLine::DataBits dataBits = SerialLine::Data8;
    SerialLine::StopBits stopBits = SerialLine::OneStop;
};

// The settings of a text in that form: a speed of digits only (1 and up), a parity letter of
// n, e, o, m or s in either case, 5 to 8 data bits, and 1, 1.5 or 2 stop bits, with nothing
// around or between them. Whether a port can run at the speed is for the port to say.
std::optional<SerialSettings> parseSerialSettings(const QString &text);

#endif // SERIALSETTINGS_H
