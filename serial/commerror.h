#ifndef COMMERROR_H
#define COMMERROR_H

// The run-time errors that the serial controls raise, with the numbers of commcontrol.h and
// the same description on every system.
namespace CommError {
[[noreturn]] void raisePortInvalid();
[[noreturn]] void raisePortAlreadyOpen();
[[noreturn]] void raiseNoOpen();
[[noreturn]] void raisePortNotOpen();
[[noreturn]] void raiseInvalidSettings();
} // namespace CommError

#endif // COMMERROR_H
