#include "surface_layout.h"

#include <array>

namespace kelvane {

namespace {

// Multiples of 15, so that every part edge falls on a whole pixel. The caption
// sits above the dial; the scale labels where the needle points for a quarter,
// a half and three quarters of the maximum; reading and unit in the wedge under
// the pivot that neither line ever sweeps.
constexpr Rect kSurface{0, 0, kSurfaceWidth, kSurfaceHeight};
constexpr Rect kImgMeter{165, 210, 1470, 1410};
constexpr Rect kScale1{330, 735, 390, 195};
constexpr Rect kScale2{495, 495, 390, 195};
constexpr Rect kScale3{1080, 735, 390, 195};
constexpr Rect kSpeed{705, 1140, 390, 210};
constexpr Rect kBits{735, 1350, 330, 180};
constexpr Rect kCaption{240, 15, 1335, 195};

// Topmost first.
constexpr std::array kStacking{Part::lblSpeedoCaption, Part::lblSpeed, Part::lblBits,
                               Part::lbSpeedoVal1,     Part::lbSpeedoVal2, Part::lbSpeedoVal3,
                               Part::ImgMeter,         Part::Surface};

}  // namespace

Rect partRect(Part part)
{
    switch (part) {
    case Part::Surface: return kSurface;
    case Part::ImgMeter: return kImgMeter;
    case Part::lbSpeedoVal1: return kScale1;
    case Part::lbSpeedoVal2: return kScale2;
    case Part::lbSpeedoVal3: return kScale3;
    case Part::lblSpeedoCaption: return kCaption;
    case Part::lblSpeed: return kSpeed;
    case Part::lblBits: return kBits;
    }
    return kSurface;
}

Part scaleLabelPart(int index)
{
    switch (index) {
    case 1: return Part::lbSpeedoVal1;
    case 2: return Part::lbSpeedoVal2;
    default: return Part::lbSpeedoVal3;
    }
}

std::optional<Hit> hitTest(Point p)
{
    for (Part part : kStacking) {
        const Rect r = partRect(part);
        if (r.contains(p)) return Hit{part, {p.x - r.left, p.y - r.top}};
    }
    return std::nullopt;
}

bool raisesMouseDown(Part part)
{
    return part != Part::lblSpeedoCaption && part != Part::lblSpeed;
}

}  // namespace kelvane
