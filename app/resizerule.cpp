#include "resizerule.h"

#include <cmath>

namespace {
constexpr double minimumOuterWidth = 460;
constexpr double minimumOuterHeight = 3200;
constexpr double widthTakenBesideBox = 440;
constexpr double heightTakenAboveBox = 3120;

constexpr double largestTwips = 1e9; // far beyond any screen, well inside int

int toTwips(double value)
{
    return static_cast<int>(std::lround(std::fmin(value, largestTwips)));
}
} // namespace

LogBoxResize logBoxResize(double outerWidthTwips, double outerHeightTwips)
{
    LogBoxResize result;
    if (outerWidthTwips > minimumOuterWidth)
        result.width = toTwips(outerWidthTwips - widthTakenBesideBox);
    if (outerHeightTwips > minimumOuterHeight)
        result.height = toTwips(outerHeightTwips - heightTakenAboveBox);
    return result;
}
