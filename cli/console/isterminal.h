#ifndef ISTERMINAL_H
#define ISTERMINAL_H

#include <cstdio>

// Whether the stream is written to a terminal (a console on Windows), where a progress line
// that is written over makes sense.
bool isTerminal(std::FILE *stream);

#endif // ISTERMINAL_H
