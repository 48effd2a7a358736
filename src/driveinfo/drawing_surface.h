#pragma once

#include <cstdint>
#include <string_view>

namespace volmara {

// A window-system colour 0x00BBGGRR; 0x80000000 and up name a system colour.
using Colour = std::uint32_t;

inline constexpr Colour rgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What the charts and gauges draw on. Coordinates are the surface's pixels, origin top left, y
// downwards. Outlines use the surface's current pen and text its current font and colours; a
// fill colour is given with each shape, so no brush outlives the call that uses it.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // A rectangle filled with `fill`.
    virtual void rectangle(const PixelRect& bounds, Colour fill) = 0;
    // A wedge of the ellipse inscribed in `bounds`, filled with `fill`. Angles are degrees from
    // 12 o'clock, clockwise; a sweep of 360 or more is the whole ellipse.
    virtual void pie(const PixelRect& bounds, double startDegrees, double sweepDegrees, Colour fill) = 0;
    // Text whose top left corner is at (x, y).
    virtual void text(int x, int y, std::string_view text) = 0;
};

} // namespace volmara
