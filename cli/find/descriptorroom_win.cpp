#include "descriptorroom.h"

// Windows sockets are no C library descriptors: their number has no limit of this kind.
DescriptorRoom makeDescriptorRoom(int wanted)
{
    return DescriptorRoom{wanted, -1};
}
