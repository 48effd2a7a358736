#include "driveinfo/meter2.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace volmara::testing {
namespace {

int litSegments(const Meter2& meter)
{
    int lit = 0;
    for (int i = 0; i < Meter2::kSegments; ++i) {
        const Colour colour = meter.segmentColour(i);
        EXPECT_TRUE(colour == Meter2::kLit || colour == Meter2::kUnlit);
        // Lit segments are the lower ones, without a gap.
        if (colour == Meter2::kLit) {
            EXPECT_EQ(lit++, i) << "segment " << i;
        }
    }
    return lit;
}

TEST(Meter2Test, ValueLightsTheLowerSegmentsAndReadsTwicePercent)
{
    struct Case {
        std::int16_t value;
        int lit;
        std::string readOut;
    };
    Meter2 meter;
    for (const auto& c : {Case{0, 50, "100%"}, Case{25, 25, "50%"}, Case{18, 32, "64%"}, Case{50, 0, "0%"}}) {
        SCOPED_TRACE(c.value);
        meter.setValue(c.value);
        EXPECT_EQ(meter.Value(), c.value);
        EXPECT_EQ(meter.level(), c.lit);
        EXPECT_EQ(litSegments(meter), c.lit);
        EXPECT_EQ(meter.Label1(), c.readOut);
    }
}

TEST(Meter2Test, EachScrollStepChangesTheReadOutByTwo)
{
    Meter2 meter;
    int notified = 0;
    meter.subscribe([&] { ++notified; });
    int previous = 0;
    for (int value = 49; value >= 0; --value) {
        meter.VScroll1_Change(value);
        const int percent = std::stoi(meter.Label1());
        EXPECT_EQ(percent - previous, 2) << "at " << value;
        previous = percent;
    }
    EXPECT_EQ(notified, 50) << "every move redraws";
    meter.VScroll1_Change(80);
    EXPECT_EQ(meter.Value(), 50) << "the bar stays within its range";
}

TEST(Meter2Test, SegmentsStackUpwardsOverlappingByOnePixel)
{
    Meter2 meter;
    meter.setValue(48);
    for (int a = 1; a < Meter2::kSegments; ++a) {
        const PixelRect below = meter.segmentTwips(a - 1);
        const PixelRect here = meter.segmentTwips(a);
        EXPECT_EQ(here.top, below.top - (meter.segmentTwips(0).bottom - meter.segmentTwips(0).top) + 15);
        EXPECT_EQ(here.bottom - here.top, below.bottom - below.top);
    }
    EXPECT_GE(meter.segmentTwips(49).top, 0);
    EXPECT_LE(meter.segmentTwips(0).bottom, Meter2::kLabelTop) << "the read-out sits below the column";
    EXPECT_LE(meter.segmentTwips(0).right, Meter2::kScrollLeft) << "the scroll bar sits beside it";

    RecordingSurface surface;
    meter.draw(surface);
    ASSERT_EQ(surface.calls.size(), 50u);
    EXPECT_EQ(surface.calls[0], rectCall({3, 163, 19, 167}, Meter2::kLit));
    EXPECT_EQ(surface.calls[1], rectCall({3, 160, 19, 164}, Meter2::kLit));
    EXPECT_EQ(surface.calls[2].colour, Meter2::kUnlit);
}

TEST(Meter2Test, PropertiesKeepTheirDefaultsOutOfTheSavedBag)
{
    Meter2 meter;
    // A host that never sets anything shows an empty gauge with a single-line border.
    EXPECT_EQ(meter.Value(), 50);
    EXPECT_EQ(meter.Border(), 1);
    EXPECT_EQ(meter.Label1(), "0%");
    EXPECT_EQ(litSegments(meter), 0);
    PropertyBag bag;
    meter.WriteProperties(bag);
    EXPECT_TRUE(bag.empty());

    std::vector<std::string> changed;
    meter.PropertyChanged = [&](std::string_view name) { changed.emplace_back(name); };
    meter.setValue(10);
    meter.setBorder(0);
    meter.VScroll1_Change(12); // the user's scroll is no property change of the host's
    EXPECT_EQ(changed, (std::vector<std::string>{"Value", "Border"}));
    meter.WriteProperties(bag);
    EXPECT_EQ(bag, (PropertyBag{{"Value", 12}, {"Border", 0}}));

    Meter2 loaded;
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Value(), 12);
    EXPECT_EQ(loaded.Border(), 0);
    EXPECT_EQ(loaded.Label1(), "76%");
    loaded.ReadProperties({});
    EXPECT_EQ(loaded.Value(), 50);
    EXPECT_EQ(loaded.Border(), 1);
}

} // namespace
} // namespace volmara::testing
