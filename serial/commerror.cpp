#include "commerror.h"

#include "commcontrol.h"
#include "runtimeerror.h"

namespace {

[[noreturn]] void raise(qint32 number, const char *description)
{
    throw RuntimeError{number, QString::fromLatin1(description)};
}

} // namespace

namespace CommError {

void raisePortInvalid()
{
    raise(CommControl::comPortInvalid, "Invalid Port Number");
}

void raisePortAlreadyOpen()
{
    raise(CommControl::comPortAlreadyOpen, "Port already open");
}

void raiseNoOpen()
{
    raise(CommControl::comNoOpen, "The device is not open");
}

void raisePortNotOpen()
{
    raise(CommControl::comPortNotOpen, "Operation valid only when the port is open");
}

void raiseInvalidSettings()
{
    throw invalidPropertyValueError();
}

} // namespace CommError
