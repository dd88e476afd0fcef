#ifndef RUNTIMEERROR_H
#define RUNTIMEERROR_H

#include <QString>
#include <QtGlobal>

// A failure raised by a control or by the system: a number and a description. The serial
// and socket controls throw it from their members; the tests and the socket routines trap it
// where they call and report it in the log or in a message box.
struct RuntimeError
{
    qint32 number = 0;
    QString description;
};

namespace RuntimeErrors {
// Numbers the program raises itself.
constexpr qint32 InvalidProcedureCall = 5;
constexpr qint32 Overflow = 6;
// A property set to a value it does not take: a serial settings text, a socket's port number.
constexpr qint32 InvalidPropertyValue = 380;
// The serial control's numbers that the tests name in the log; the network test names the
// first of them too.
constexpr qint32 ComPortInvalid = 8002;
constexpr qint32 ComPortAlreadyOpen = 8005;
constexpr qint32 ComNoOpen = 8012;
constexpr qint32 ComPortNotOpen = 8018;
} // namespace RuntimeErrors

// The error of a property set to a value it does not take, with the same text on every control.
inline RuntimeError invalidPropertyValueError()
{
    return RuntimeError{RuntimeErrors::InvalidPropertyValue,
                        QStringLiteral("Invalid property value")};
}

#endif // RUNTIMEERROR_H
