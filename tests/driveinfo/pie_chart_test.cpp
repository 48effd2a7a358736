#include "driveinfo/pie_chart.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <optional>

namespace volmara::testing {
namespace {

constexpr Colour kBlue = 16711680;
constexpr Colour kRed = 255;
constexpr Colour kGreen = 65280;

std::vector<DrawCall> draw(const clsPie& pie, bool legend = true, std::int32_t expected = clsPie::kDrawn)
{
    RecordingSurface surface;
    EXPECT_EQ(pie.DrawPie(surface, legend, "Title", "Sub"), expected);
    return surface.calls;
}

TEST(PieChartTest, OneSegmentIsAFullCircleWithOneLegendRow)
{
    clsPie pie;
    pie.AddSegment(1'200'000, "Free", kBlue);
    EXPECT_EQ(draw(pie), (std::vector<DrawCall>{
                             rectCall({110, 53, 140, 63}, kBlue),
                             textCall(145, 52, "Free(1,200,000)"),
                             pieCall(360, kBlue),
                             textCall(22, 0, "Title"),
                             textCall(110, 80, "Sub"),
                         }));
}

TEST(PieChartTest, LaterSegmentsArePaintedOverTheFirstFromTwelveOClock)
{
    clsPie pie;
    pie.AddSegment(3, "A", kBlue);
    pie.AddSegment(1, "B", kRed);
    // The circle in the first colour, then a quarter from 12 to 3 o'clock in the second.
    EXPECT_EQ(draw(pie), (std::vector<DrawCall>{
                             rectCall({110, 53, 140, 63}, kBlue),
                             textCall(145, 52, "A(3)"),
                             pieCall(360, kBlue),
                             rectCall({110, 68, 140, 78}, kRed),
                             textCall(145, 67, "B(1)"),
                             pieCall(90, kRed),
                             textCall(22, 0, "Title"),
                             textCall(110, 80, "Sub"),
                         }));

    // Without the legend only the wedges and the captions are drawn.
    EXPECT_EQ(draw(pie, false), (std::vector<DrawCall>{pieCall(360, kBlue), pieCall(90, kRed), textCall(22, 0, "Title"),
                                                       textCall(110, 80, "Sub")}));
}

TEST(PieChartTest, ThreeSegmentsStackFromTheLastAddedClockwise)
{
    clsPie pie;
    pie.AddSegment(2, "A", kBlue);
    pie.AddSegment(3, "B", kRed);
    pie.AddSegment(5, "C", kGreen);
    std::vector<DrawCall> wedges;
    std::vector<DrawCall> swatches;
    for (const auto& call : draw(pie)) {
        if (call.kind == DrawCall::Pie)
            wedges.push_back(call);
        else if (call.kind == DrawCall::Rectangle)
            swatches.push_back(call);
    }
    // C takes 0 to 180 degrees, B 180 to 288, A the rest up to 12 o'clock.
    EXPECT_EQ(wedges, (std::vector<DrawCall>{pieCall(360, kBlue), pieCall(288, kRed), pieCall(180, kGreen)}));
    EXPECT_EQ(swatches, (std::vector<DrawCall>{rectCall({110, 53, 140, 63}, kBlue), rectCall({110, 68, 140, 78}, kRed),
                                               rectCall({110, 83, 140, 93}, kGreen)}));
}

TEST(PieChartTest, TheLastWedgeIsRoundedToWholePercentHalvesToEven)
{
    struct Case {
        double first;
        double second;
        std::optional<double> sweep; // none: no wedge drawn
    };
    for (const auto& c : {Case{7, 1, 12 * 3.6}, Case{5, 3, 38 * 3.6}, Case{63, 1, 2 * 3.6}, Case{999, 1, std::nullopt},
                          Case{1, 0, std::nullopt}}) {
        SCOPED_TRACE(std::to_string(c.first) + " and " + std::to_string(c.second));
        clsPie pie;
        pie.AddSegment(c.first, "A", kBlue);
        pie.AddSegment(c.second, "B", kRed);
        std::vector<DrawCall> wedges;
        int legendRows = 0;
        for (const auto& call : draw(pie)) {
            if (call.kind == DrawCall::Pie)
                wedges.push_back(call);
            legendRows += call.kind == DrawCall::Rectangle ? 1 : 0;
        }
        std::vector<DrawCall> expected{pieCall(360, kBlue)};
        if (c.sweep)
            expected.push_back(pieCall(*c.sweep, kRed));
        EXPECT_EQ(wedges, expected);
        EXPECT_EQ(legendRows, 2) << "the legend lists a segment whose wedge rounds away";
    }
}

TEST(PieChartTest, AZeroAmountShowsEmptyParentheses)
{
    clsPie pie;
    pie.AddSegment(0, "No Media", kRed);
    const auto calls = draw(pie);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[1], textCall(145, 52, "No Media()"));
    EXPECT_EQ(calls[2], pieCall(360, kRed)) << "one segment needs no share: a zero amount still draws";
}

TEST(PieChartTest, AllZeroAmountsStopTheDrawingWithStatusTwo)
{
    clsPie pie;
    pie.AddSegment(0, "A", kBlue);
    pie.AddSegment(0, "B", kRed);
    // 0 / 0 stops it after the first row and the full circle; what was drawn stays.
    EXPECT_EQ(draw(pie, true, clsPie::kFailed),
              (std::vector<DrawCall>{rectCall({110, 53, 140, 63}, kBlue), textCall(145, 52, "A()"), pieCall(360, kBlue)}));

    pie.Clear();
    EXPECT_TRUE(draw(pie, true, clsPie::kFailed).empty()) << "nothing to draw without segments";

    pie.AddSegment(1, "C", kGreen);
    EXPECT_EQ(draw(pie).size(), 5u) << "after Clear the chart draws again";
}

} // namespace
} // namespace volmara::testing
