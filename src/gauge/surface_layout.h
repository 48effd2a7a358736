// Where the parts of the control sit on its fixed surface, and which part a
// press lands on. Twips throughout; the widget maps 15 twips to a pixel.
#pragma once

#include <optional>

#include "gauge_math.h"

namespace kelvane {

inline constexpr int kSurfaceWidth = 1815;
inline constexpr int kSurfaceHeight = 1770;
inline constexpr int kTwipsPerPixel = 15;

struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool contains(Point p) const
    {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

// The parts a press can land on. The lines take no presses: a press on a line
// belongs to what lies under it.
enum class Part {
    Surface,
    ImgMeter,
    lbSpeedoVal1,
    lbSpeedoVal2,
    lbSpeedoVal3,
    lblSpeedoCaption,
    lblSpeed,
    lblBits,
};

Rect partRect(Part part);

// Index 1 to 3, as the scale labels are numbered.
Part scaleLabelPart(int index);

struct Hit {
    Part part;
    Point local;  // relative to the part's top-left corner
};

// The topmost part under p (labels lie over the dial, the dial over the
// surface); nothing outside the surface.
std::optional<Hit> hitTest(Point p);

// Presses on the caption and on the reading raise no MouseDown.
bool raisesMouseDown(Part part);

}  // namespace kelvane
