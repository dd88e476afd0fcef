#ifndef DESKTOPIDENTITY_H
#define DESKTOPIDENTITY_H

#include <QIcon>
#include <QString>

// How the desktop knows the program: its icon and the name of its installed desktop entry.
namespace DesktopIdentity {

// The program's icon in every size it is drawn in, from the program's own resources.
QIcon icon();

// The desktop entry's name without ".desktop" (also the AppStream id).
QString desktopFileName();

// Gives the application its icon (the window's icon, and the one a window list shows) and
// ties its windows to the desktop entry, so that a Wayland desktop shows the entry's icon
// and name. Call once after the application object exists.
void apply();

} // namespace DesktopIdentity

#endif // DESKTOPIDENTITY_H
