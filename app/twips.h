#ifndef TWIPS_H
#define TWIPS_H

#include <QRect>
#include <algorithm>
#include <cmath>

// The window is laid out in twips: 1440 to an inch, converted at the screen's logical dots per
// inch, the resolution its fonts are drawn at. At 96 dots per inch that is 15 twips to a pixel;
// a larger desktop font (120 or 144 dots per inch) enlarges the controls with their captions.
namespace Twips {
constexpr double perInch = 1440.0;
constexpr int usualDpi = 96;

struct Rect;

class Scale
{
public:
    Scale() = default;
    Scale(int dpiX, int dpiY)
        : m_perPixelX(perInch / std::max(1, dpiX))
        , m_perPixelY(perInch / std::max(1, dpiY))
    {
    }

    int toPixelsX(int twips) const { return static_cast<int>(std::lround(twips / m_perPixelX)); }
    int toPixelsY(int twips) const { return static_cast<int>(std::lround(twips / m_perPixelY)); }

    // Never below one pixel: a box the rule sizes stays a box.
    int toPixelsX(double twips) const { return atLeastOne(twips / m_perPixelX); }
    int toPixelsY(double twips) const { return atLeastOne(twips / m_perPixelY); }

    double fromPixelsX(int pixels) const { return pixels * m_perPixelX; }
    double fromPixelsY(int pixels) const { return pixels * m_perPixelY; }

    QRect toPixels(const Rect &rect) const;

private:
    static int atLeastOne(double pixels)
    {
        return std::max(1, static_cast<int>(std::lround(pixels)));
    }

    double m_perPixelX = perInch / usualDpi;
    double m_perPixelY = perInch / usualDpi;
};

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline QRect Scale::toPixels(const Rect &rect) const
{
    return QRect(toPixelsX(rect.left), toPixelsY(rect.top), toPixelsX(rect.width),
                 toPixelsY(rect.height));
}
} // namespace Twips

#endif // TWIPS_H
