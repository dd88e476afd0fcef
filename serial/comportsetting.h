#ifndef COMPORTSETTING_H
#define COMPORTSETTING_H

#include "comportnumbering.h"

// COM n as the window and the command line both number it: the n-th of the device paths that
// SOLVARN_COM_PORTS lists, when it is set, so that a simulator's pseudo-terminal can stand for a
// printer's port; the system's n-th serial port otherwise.
ComPortNumbering configuredComPortNumbering();

#endif // COMPORTSETTING_H
