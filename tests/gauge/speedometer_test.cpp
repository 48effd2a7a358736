#include "speedometer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "surface_layout.h"

namespace kelvane {
namespace {

void expectNear(Point actual, Point expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

TEST(Speedometer, StartsAsInitialised)
{
    const Speedometer s;
    EXPECT_EQ(s.MaxValue(), 100);
    EXPECT_EQ(s.ActiveSpeed_line(), 0);
    EXPECT_EQ(s.Threshold0_line(), 0);
    EXPECT_EQ(s.NumericSpeed(), "");
    EXPECT_EQ(s.SpeedometerCaption(), ".");
    EXPECT_EQ(s.lblSpeed(), "0");
    EXPECT_EQ(s.lblBits(), "Kb/s");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(s.lbSpeedoVal(i), "0");
    EXPECT_EQ(s.needleLength(), 600);
    EXPECT_EQ(s.markerLength(), 570);
    EXPECT_EQ(s.lastAngle(), 0);
    // Where they were drawn, until the host sets a value.
    EXPECT_EQ(s.lineSpeed().p1, (Point{300, 910}));
    EXPECT_EQ(s.lineTH().p1, (Point{360, 795}));
}

TEST(Speedometer, ActiveSpeedAboveTheMaximumIsStoredAsTheMaximum)
{
    Speedometer s;
    s.setActiveSpeed_line(150);
    EXPECT_EQ(s.ActiveSpeed_line(), 100);
    EXPECT_DOUBLE_EQ(s.lastAngle(), 1.2375 * P);
    const double a = 1.2375 * P;
    expectNear(s.lineSpeed().p1, {900 - 600 * std::cos(a), 910 - 600 * std::sin(a)});
    EXPECT_EQ(s.lineSpeed().p2, (Point{900, 910}));
}

TEST(Speedometer, ThresholdMovesTheMarkerAroundItsOwnPivot)
{
    Speedometer s;
    s.setThreshold0_line(250);
    EXPECT_EQ(s.Threshold0_line(), 100);
    const double a = 1.2375 * P;
    EXPECT_DOUBLE_EQ(s.lastAngle(), a);
    expectNear(s.lineTH().p1, {930 - 570 * std::cos(a), 910 - 570 * std::sin(a)});
    EXPECT_EQ(s.lineTH().p2, (Point{930, 910}));
    EXPECT_EQ(s.lineSpeed().p1, (Point{300, 910}));  // the needle stays
}

TEST(Speedometer, NegativeValuesAreNotClamped)
{
    Speedometer s;
    s.setActiveSpeed_line(-10);
    EXPECT_EQ(s.ActiveSpeed_line(), -10);
    EXPECT_LT(s.lastAngle(), -P / 4);
}

TEST(Speedometer, MaxValueRewritesTheLabelsButMovesNoLine)
{
    Speedometer s;
    s.setActiveSpeed_line(80);
    s.setThreshold0_line(70);
    const Line needle = s.lineSpeed();
    const Line marker = s.lineTH();
    s.setMaxValue(7);
    EXPECT_EQ(s.MaxValue(), 7);
    EXPECT_EQ(s.lbSpeedoVal(1), "1.8");
    EXPECT_EQ(s.lbSpeedoVal(2), "3.5");
    EXPECT_EQ(s.lbSpeedoVal(3), "5.2");
    EXPECT_EQ(s.ActiveSpeed_line(), 80);
    EXPECT_EQ(s.lineSpeed().p1, needle.p1);
    EXPECT_EQ(s.lineTH().p1, marker.p1);
    s.setActiveSpeed_line(80);  // the next set clamps
    EXPECT_EQ(s.ActiveSpeed_line(), 7);
}

TEST(Speedometer, ZeroMaximumStoresTheValueAndLeavesTheLine)
{
    Speedometer s;
    s.setActiveSpeed_line(30);
    const Line needle = s.lineSpeed();
    const double angle = s.lastAngle();
    s.setMaxValue(0);
    try {
        s.setActiveSpeed_line(5);
        FAIL() << "no error";
    } catch (const GaugeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::DivisionByZero);
    }
    EXPECT_EQ(s.ActiveSpeed_line(), 0);
    EXPECT_EQ(s.lineSpeed().p1, needle.p1);
    EXPECT_EQ(s.lastAngle(), angle);

    EXPECT_THROW(s.setThreshold0_line(-3), GaugeError);
    EXPECT_EQ(s.Threshold0_line(), -3);
    EXPECT_EQ(s.lineTH().p1, (Point{360, 795}));

    s.setMaxValue(100);  // and it keeps working
    s.setActiveSpeed_line(50);
    EXPECT_DOUBLE_EQ(s.lastAngle(), 0.3125 * P);
}

TEST(Speedometer, NotANumberChangesNothing)
{
    Speedometer s;
    s.setActiveSpeed_line(20);
    const Line needle = s.lineSpeed();
    EXPECT_THROW(s.setActiveSpeed_line(std::numeric_limits<double>::quiet_NaN()), GaugeError);
    EXPECT_THROW(s.setThreshold0_line(-std::numeric_limits<double>::infinity()), GaugeError);
    EXPECT_EQ(s.ActiveSpeed_line(), 20);
    EXPECT_EQ(s.Threshold0_line(), 0);
    EXPECT_EQ(s.lineSpeed().p1, needle.p1);
    s.setActiveSpeed_line(std::numeric_limits<double>::infinity());
    EXPECT_EQ(s.ActiveSpeed_line(), 100);
}

TEST(Speedometer, ReadingIsShownUnchanged)
{
    Speedometer s;
    s.setNumericSpeed(" 12,5 ");
    EXPECT_EQ(s.NumericSpeed(), " 12,5 ");
    EXPECT_EQ(s.lblSpeed(), " 12,5 ");
    s.setSpeedometerCaption("Download");
    EXPECT_EQ(s.SpeedometerCaption(), "Download");
}

TEST(SurfaceLayout, EveryPartLiesOnTheSurface)
{
    const Rect surface = partRect(Part::Surface);
    EXPECT_EQ(surface.width, 1815);
    EXPECT_EQ(surface.height, 1770);
    for (Part part : {Part::ImgMeter, Part::lbSpeedoVal1, Part::lbSpeedoVal2, Part::lbSpeedoVal3,
                      Part::lblSpeedoCaption, Part::lblSpeed, Part::lblBits}) {
        const Rect r = partRect(part);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.left + r.width, surface.width);
        EXPECT_LE(r.top + r.height, surface.height);
    }
}

TEST(SurfaceLayout, APressLandsOnTheTopmostPartInItsCoordinates)
{
    const Rect bits = partRect(Part::lblBits);
    const auto onBits = hitTest({bits.left + 30, bits.top + 45});
    ASSERT_TRUE(onBits);
    EXPECT_EQ(onBits->part, Part::lblBits);
    EXPECT_EQ(onBits->local, (Point{30, 45}));

    // A scale label lies over the dial.
    const Rect label = partRect(Part::lbSpeedoVal2);
    const auto onLabel = hitTest({label.left, label.top});
    ASSERT_TRUE(onLabel);
    EXPECT_EQ(onLabel->part, Part::lbSpeedoVal2);
    EXPECT_EQ(onLabel->local, (Point{0, 0}));

    const Rect dial = partRect(Part::ImgMeter);
    const auto onDial = hitTest({dial.left + 60, dial.top + 60});
    ASSERT_TRUE(onDial);
    EXPECT_EQ(onDial->part, Part::ImgMeter);
    EXPECT_EQ(onDial->local, (Point{60, 60}));

    const auto onSurface = hitTest({30, 45});
    ASSERT_TRUE(onSurface);
    EXPECT_EQ(onSurface->part, Part::Surface);
    EXPECT_EQ(onSurface->local, (Point{30, 45}));

    EXPECT_FALSE(hitTest({1815, 10}));
    EXPECT_FALSE(hitTest({-1, 10}));
}

TEST(SurfaceLayout, CaptionAndReadingRaiseNoMouseDown)
{
    EXPECT_FALSE(raisesMouseDown(Part::lblSpeedoCaption));
    EXPECT_FALSE(raisesMouseDown(Part::lblSpeed));
    for (Part part : {Part::Surface, Part::ImgMeter, Part::lblBits, Part::lbSpeedoVal1,
                      Part::lbSpeedoVal2, Part::lbSpeedoVal3})
        EXPECT_TRUE(raisesMouseDown(part));
}

}  // namespace
}  // namespace kelvane
