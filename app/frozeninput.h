#ifndef FROZENINPUT_H
#define FROZENINPUT_H

// The serial sweep keeps the window's thread and lets no events run, so the user's clicks and
// keys made meanwhile wait in the queues and would all act the moment it returns: a double
// click on "Test skriver" would run a second sweep, a click on "Blank loggen" would wipe the
// log just written. The window reacts to nothing while it is frozen, so what waits is
// delivered here with the user's input taken out: the rest (paints, timers) runs as usual.
void dropInputMadeWhileFrozen();

#endif // FROZENINPUT_H
