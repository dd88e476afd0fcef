#include "resizerule.h"

namespace {
constexpr double minimumOuterWidth = 460;
constexpr double minimumOuterHeight = 3200;
constexpr double widthBesideBox = 440;
constexpr double heightAboveBox = 3120;
} // namespace

LogBoxResize logBoxResize(double outerWidthTwips, double outerHeightTwips)
{
    LogBoxResize result;
    if (outerWidthTwips > minimumOuterWidth)
        result.width = outerWidthTwips - widthBesideBox;
    if (outerHeightTwips > minimumOuterHeight)
        result.height = outerHeightTwips - heightAboveBox;
    return result;
}
