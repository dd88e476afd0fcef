#ifndef TWIPS_H
#define TWIPS_H

#include <QRect>
#include <algorithm>
#include <cmath>

// The window is laid out in twips, at 15 twips to a pixel.
namespace Twips {
constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return twips / perPixel;
}

// Never below one pixel: a box the rule sizes stays a box.
inline int toPixels(double twips)
{
    return std::max(1, static_cast<int>(std::lround(twips / perPixel)));
}

inline int fromPixels(int pixels)
{
    return pixels * perPixel;
}

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    QRect toPixels() const
    {
        return QRect(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                     Twips::toPixels(height));
    }
};
} // namespace Twips

#endif // TWIPS_H
