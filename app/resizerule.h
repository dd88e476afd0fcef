#ifndef RESIZERULE_H
#define RESIZERULE_H

#include <optional>

// How the log box follows the window: from the window's outer size in twips (frame and title
// bar included), the box's new width and height in twips, each only when the window is large
// enough. The bounds keep the box from ever getting a zero or negative size.
struct LogBoxResize
{
    std::optional<double> width;
    std::optional<double> height;
};

LogBoxResize logBoxResize(double outerWidthTwips, double outerHeightTwips);

#endif // RESIZERULE_H
