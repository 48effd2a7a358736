#pragma once

#include "driveinfo/drawing_surface.h"

#include <ostream>
#include <string>
#include <vector>

namespace volmara::testing {

// One drawing call as a surface received it.
struct DrawCall {
    enum Kind { Rectangle, Pie, Text } kind = Rectangle;
    PixelRect bounds{};
    double start = 0;
    double sweep = 0;
    Colour colour = 0;
    int x = 0;
    int y = 0;
    std::string text;
    friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

inline DrawCall rectCall(PixelRect bounds, Colour colour) { return {DrawCall::Rectangle, bounds, 0, 0, colour, 0, 0, {}}; }
inline DrawCall pieCall(double sweep, Colour colour, PixelRect bounds = {0, 20, 100, 120})
{
    return {DrawCall::Pie, bounds, 0, sweep, colour, 0, 0, {}};
}
inline DrawCall textCall(int x, int y, std::string text) { return {DrawCall::Text, {}, 0, 0, 0, x, y, std::move(text)}; }

inline std::ostream& operator<<(std::ostream& out, const DrawCall& c)
{
    switch (c.kind) {
    case DrawCall::Rectangle:
        return out << "rectangle(" << c.bounds.left << "," << c.bounds.top << "," << c.bounds.right << ","
                   << c.bounds.bottom << " colour " << c.colour << ")";
    case DrawCall::Pie:
        return out << "pie(" << c.bounds.left << "," << c.bounds.top << "," << c.bounds.right << "," << c.bounds.bottom
                   << " from " << c.start << " sweep " << c.sweep << " colour " << c.colour << ")";
    case DrawCall::Text:
        return out << "text(" << c.x << "," << c.y << " \"" << c.text << "\")";
    }
    return out;
}

// A drawing surface that records what is drawn on it, in order.
class RecordingSurface final : public DrawingSurface {
public:
    void rectangle(const PixelRect& bounds, Colour fill) override { calls.push_back(rectCall(bounds, fill)); }
    void pie(const PixelRect& bounds, double startDegrees, double sweepDegrees, Colour fill) override
    {
        calls.push_back({DrawCall::Pie, bounds, startDegrees, sweepDegrees, fill, 0, 0, {}});
    }
    void text(int x, int y, std::string_view text) override { calls.push_back(textCall(x, y, std::string(text))); }

    std::vector<DrawCall> calls;
};

} // namespace volmara::testing
