#ifndef DESKTOPGUARD_H
#define DESKTOPGUARD_H

// The window needs a graphical desktop. Started without one (over SSH, say), the toolkit stops
// the program with its own advice to reinstall it and an abort. Instead the user is told in
// one line that the window needs a desktop and that `solvarn-sjekk` runs the same checks in a
// terminal, and the program ends with a status of its own.
//
// A desktop that is named but cannot be reached fails only while the application is created;
// a guard held over that moment turns the toolkit's fatal error into the same line, followed by
// what the toolkit said (the display it could not reach, the plugin it could not load), which
// the user needs to mend it. Once the application stands, the guard passes on what the toolkit
// said meanwhile.
class DesktopGuard
{
public:
    static constexpr int noDesktopStatus = 1;
    static const char *const message;

    // Whether the environment or the command line names a desktop to show the window on; says
    // so on standard error where it does not.
    // Only a Unix desktop (X11, Wayland) can be missing: desktopguard_unix.cpp; elsewhere the
    // system's own desktop is always there (desktopguard_other.cpp). Chosen by the build.
    static bool desktopNamed(int argc, char *argv[]);
    // Writes message on standard error.
    static void tellNoDesktop();

    DesktopGuard();
    ~DesktopGuard();
    DesktopGuard(const DesktopGuard &) = delete;
    DesktopGuard &operator=(const DesktopGuard &) = delete;
};

#endif // DESKTOPGUARD_H
