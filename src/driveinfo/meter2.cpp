#include "driveinfo/meter2.h"

#include <algorithm>

namespace volmara {

Meter2::Meter2()
{
    // Stack the segments upwards from segment 0, each overlapping the one below by 15 twips.
    Shape2_[0].twips = {kSegmentLeft, kSegment0Top, kSegmentLeft + kSegmentWidth, kSegment0Top + kSegmentHeight};
    for (std::size_t a = 1; a < Shape2_.size(); ++a) {
        const int top = Shape2_[a - 1].twips.top - kSegmentHeight + 15;
        Shape2_[a].twips = {kSegmentLeft, top, kSegmentLeft + kSegmentWidth, top + kSegmentHeight};
    }
    SetLevelValue();
    ShowLevel();
}

void Meter2::setValue(std::int16_t value)
{
    scrollTo(value);
    propertyChanged("Value");
}

void Meter2::setBorder(std::int16_t value)
{
    border_ = value;
    propertyChanged("Border");
    notify();
}

void Meter2::VScroll1_Change(int value) { scrollTo(value); }

void Meter2::scrollTo(int value)
{
    // A scroll bar's value never leaves its range.
    VScroll1_ = static_cast<std::int16_t>(std::clamp(value, 0, static_cast<int>(kScrollMax)));
    SetLevelValue();
    ShowLevel();
    notify();
}

void Meter2::SetLevelValue() { level_ = static_cast<std::int16_t>(kScrollMax - VScroll1_); }

void Meter2::ShowLevel()
{
    for (int i = 0; i < kSegments; ++i)
        Shape2_[static_cast<std::size_t>(i)].colour = i < level_ ? kLit : kUnlit;
    Label1_ = std::to_string(level_ * 2) + "%";
}

void Meter2::draw(DrawingSurface& surface) const
{
    for (const Shape& shape : Shape2_) {
        const PixelRect& t = shape.twips;
        surface.rectangle({t.left / kTwipsPerPixel, t.top / kTwipsPerPixel, t.right / kTwipsPerPixel,
                           t.bottom / kTwipsPerPixel},
                          shape.colour);
    }
}

void Meter2::ReadProperties(const PropertyBag& bag)
{
    const auto read = [&](std::string_view name, std::int16_t fallback) {
        const auto found = bag.find(name);
        return found == bag.end() ? fallback : found->second;
    };
    scrollTo(read("Value", kDefaultValue));
    border_ = read("Border", kDefaultBorder);
    notify();
}

void Meter2::WriteProperties(PropertyBag& bag) const
{
    const auto write = [&](const char* name, std::int16_t value, std::int16_t fallback) {
        if (value == fallback)
            bag.erase(name);
        else
            bag[name] = value;
    };
    write("Value", VScroll1_, kDefaultValue);
    write("Border", border_, kDefaultBorder);
}

void Meter2::propertyChanged(std::string_view name) const
{
    if (PropertyChanged)
        PropertyChanged(name);
}

} // namespace volmara
