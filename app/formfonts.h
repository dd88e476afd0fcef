#ifndef FORMFONTS_H
#define FORMFONTS_H

#include <QFont>

// The window's fonts. The layout is made for a small bitmap sans serif of 8 points; a face with
// Arial's widths at 7.5 points is as wide, and keeps every caption inside its control. The
// fonts are sized in points, so they follow the screen's resolution as the layout in twips does.
namespace FormFonts {
// The font of every control, from the window's own font.
QFont windowFont(QFont font);
// The title's larger font, from the window font.
QFont titleFont(QFont windowFont);
} // namespace FormFonts

#endif // FORMFONTS_H
