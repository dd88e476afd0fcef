#ifndef DESCRIPTORROOM_H
#define DESCRIPTORROOM_H

#include <QString>

// How many connections the process may open at once under its limit of open files.
struct DescriptorRoom
{
    // Descriptors left for connections, after those already open and a few kept for the rest
    // of the program.
    int free = 0;
    // The limit of open files as it stands afterwards, for a message.
    qint64 limit = 0;
};

// Raises the soft limit of open files toward the hard limit as far as wanted more connections
// need (never lowers it), and says how many may then be opened.
DescriptorRoom makeDescriptorRoom(int wanted);

#endif // DESCRIPTORROOM_H
