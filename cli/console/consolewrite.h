#ifndef CONSOLEWRITE_H
#define CONSOLEWRITE_H

#include "pipetext.h"

#include <QString>

#include <cstdio>

// Writes text to one of the program's streams in one piece and flushes it, so that progress
// shows while a test sleeps. Files and pipes get the text's bytes in the form asked for
// (pipetext.h). A Windows console gets the text itself (UTF-16, WriteConsoleW) whatever the
// form: the C library there writes an unbuffered console stream one byte at a time, and the
// console would take each byte of "ø" and "å" for a character of its own. Returns whether all
// of it was written and flushed.
bool writeWhole(std::FILE *file, const QString &text, PipeText::Form form = PipeText::Form::Local);

#endif // CONSOLEWRITE_H
