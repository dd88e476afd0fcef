#ifndef FROZENINPUT_H
#define FROZENINPUT_H

// The serial sweep keeps the window's thread and lets no events run, so the user's clicks and
// keys made meanwhile wait in the queues and would all act the moment it returns: a double
// click on "Test skriver" would run a second sweep, a click on "Blank loggen" would wipe the
// log just written. The window reacts to nothing while it is frozen, so what waits is
// delivered here with the user's input taken out: the rest (paints, timers) runs as usual.
// A request to close a window is not carried out meanwhile either, but it is not forgotten: as
// on Windows, where a close sent to a busy program waits until the program can act on it, it
// is kept for the window to act on once the sweep is over. Returns whether one came.
bool dropInputMadeWhileFrozen();

#endif // FROZENINPUT_H
