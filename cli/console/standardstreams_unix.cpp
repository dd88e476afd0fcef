#include "standardstreams.h"

#include <csignal>

StandardStreams::StandardStreams()
{
    // A reader that goes away early (`| head -1`) must not end the check without its status.
    std::signal(SIGPIPE, SIG_IGN);
}

void StandardStreams::restore()
{
}
