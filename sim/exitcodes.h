#ifndef EXITCODES_H
#define EXITCODES_H

// What printer-sim's exit status tells a script that started it.
namespace SimExit {
constexpr int Ok = 0;             // stopped by Ctrl+C or SIGTERM, or after --drop-line
constexpr int UsageError = 1;     // the command line is wrong
constexpr int AddressRefused = 2; // an address outside 127.0.0.0/8 that nobody allowed
constexpr int CannotListen = 3;   // port taken or address not available
constexpr int PtyFailure = 4;     // no pseudo-terminal, or its --link could not be made
} // namespace SimExit

#endif // EXITCODES_H
