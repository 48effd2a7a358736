#pragma once

#include "core/observer.h"
#include "driveinfo/drawing_surface.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace volmara {

// Saved properties of a control, by name, as its host window keeps them.
using PropertyBag = std::map<std::string, std::int16_t, std::less<>>;

// The level meter: a column of 50 segments lit from the bottom, a percentage read-out and the
// vertical scroll bar that drives it (its top, 50, is an empty gauge; 0 a full one).
class Meter2 : public Observable {
public:
    static constexpr int kSegments = 50;
    static constexpr std::int16_t kScrollMax = 50;
    static constexpr std::int16_t kDefaultValue = 50;
    static constexpr std::int16_t kDefaultBorder = 1; // 0 none, 1 single line
    static constexpr Colour kLit = 65280;   // bright green
    static constexpr Colour kUnlit = 32768; // dark green

    // The control keeps this size whatever its host asks.
    static constexpr int kWidthTwips = 555;
    static constexpr int kHeightTwips = 2775;
    static constexpr int kTwipsPerPixel = 15;

    // Where the parts sit inside the control, in twips.
    static constexpr int kSegmentLeft = 45, kSegmentWidth = 240, kSegmentHeight = 60;
    static constexpr int kSegment0Top = 2445;
    static constexpr int kScrollLeft = 300, kScrollTop = 45, kScrollWidth = 240, kScrollHeight = 2460;
    static constexpr int kLabelTop = 2535, kLabelHeight = 225;

    Meter2();

    // The scroll bar's value; setting it moves the bar (kept within 0 to 50) and redraws.
    std::int16_t Value() const { return VScroll1_; }
    void setValue(std::int16_t value);
    std::int16_t Border() const { return border_; }
    void setBorder(std::int16_t value);

    // The user moved the scroll bar.
    void VScroll1_Change(int value);

    // Lit segments, 0 to 50.
    std::int16_t level() const { return level_; }
    const std::string& Label1() const { return Label1_; }
    Colour segmentColour(int index) const { return Shape2_.at(static_cast<std::size_t>(index)).colour; }
    // Segment `index` in twips: 0 at the bottom, each next one a step above, overlapping by 15.
    PixelRect segmentTwips(int index) const { return Shape2_.at(static_cast<std::size_t>(index)).twips; }
    // Paints the segments, in surface pixels at 15 twips to the pixel.
    void draw(DrawingSurface& surface) const;

    // Saved with the host window: each property omitted when it holds its default.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // Called with "Value" or "Border" when the host changes that property.
    std::function<void(std::string_view)> PropertyChanged;

    void SetLevelValue();
    void ShowLevel();

private:
    struct Shape {
        PixelRect twips;
        Colour colour = kUnlit;
    };

    void scrollTo(int value);
    void propertyChanged(std::string_view name) const;

    std::array<Shape, kSegments> Shape2_{};
    std::int16_t VScroll1_ = kDefaultValue;
    std::int16_t border_ = kDefaultBorder;
    std::int16_t level_ = 0;
    std::string Label1_ = "0%";
};

} // namespace volmara
