#include "desktopguard.h"

#include <cstdlib>
#include <cstring>

namespace {

bool nonEmpty(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool DesktopGuard::desktopNamed(int argc, char *argv[])
{
    // A platform chosen by the user (a virtual display, a remote one) is the user's to judge.
    if (nonEmpty("QT_QPA_PLATFORM") || nonEmpty("DISPLAY") || nonEmpty("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    tellNoDesktop();
    return false;
}
