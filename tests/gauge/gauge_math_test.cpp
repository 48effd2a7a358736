#include "gauge_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <ostream>

namespace kelvane {
namespace {

struct AngleCase {
    double value;
    double maximum;
    double expected;
};

void PrintTo(const AngleCase& c, std::ostream* out)
{
    *out << std::setprecision(12) << c.value << " of " << c.maximum;
}

constexpr double kLowOffset = -P / 4;
constexpr double kLowerMiddle = -(P / 4) * 0.75;
constexpr double kUpperMiddle = (P / 4) * 0.75;
constexpr double kHighOffset = (P / 4) * 0.95;

class NeedleAngle : public testing::TestWithParam<AngleCase> {};

TEST_P(NeedleAngle, FollowsTheOffsetOfItsRange)
{
    const AngleCase c = GetParam();
    EXPECT_DOUBLE_EQ(GetNeedleAngle(c.value, c.maximum), c.expected)
        << "value " << c.value << " of " << c.maximum;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, NeedleAngle,
    testing::Values(
        AngleCase{0, 90, kLowOffset},
        AngleCase{9.999, 90, 9.999 / 90 * P + kLowOffset},
        // m/9 exactly belongs to the range above it.
        AngleCase{10, 90, 10.0 / 90 * P + kLowerMiddle},
        // m/2 exactly stays in the lower half: 0.3125 P, then a jump.
        AngleCase{45, 90, 0.3125 * P},
        AngleCase{45.000001, 90, 45.000001 / 90 * P + kUpperMiddle},
        // Three quarters exactly belongs to the range below it.
        AngleCase{67.5, 90, 0.9375 * P},
        AngleCase{67.500001, 90, 67.500001 / 90 * P + kHighOffset},
        AngleCase{90, 90, 1.2375 * P},
        // Above the maximum counts as the maximum.
        AngleCase{150, 100, 1.2375 * P},
        // Below zero is not clamped: under the zero mark.
        AngleCase{-10, 100, -0.1 * P + kLowOffset}));

TEST(NeedleAngle, NegativeValueLiesBelowTheZeroMark)
{
    EXPECT_LT(GetNeedleAngle(-10, 100), -P / 4);
}

TEST(NeedleAngle, ZeroMaximumIsADivisionByZero)
{
    try {
        GetNeedleAngle(0, 0);
        FAIL() << "no error";
    } catch (const GaugeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::DivisionByZero);
    }
    EXPECT_THROW(GetNeedleAngle(-5, 0), GaugeError);
}

TEST(NeedleAngle, UsesTheGaugesOwnPi)
{
    EXPECT_EQ(GetNeedleAngle(100, 100), 3.14159265358979 + (3.14159265358979 / 4) * 0.95);
}

TEST(ScaleLabels, QuarterHalfAndThreeQuarters)
{
    using Labels = std::array<std::string, 3>;
    EXPECT_EQ(scaleLabelTexts(10), (Labels{"2.5", "5", "7.5"}));
    EXPECT_EQ(scaleLabelTexts(100), (Labels{"25", "50", "75"}));
    // 1.75 and 5.25 round halves to even.
    EXPECT_EQ(scaleLabelTexts(7), (Labels{"1.8", "3.5", "5.2"}));
    EXPECT_EQ(scaleLabelTexts(0), (Labels{"0", "0", "0"}));
    EXPECT_EQ(scaleLabelTexts(-7), (Labels{"-1.8", "-3.5", "-5.2"}));
    EXPECT_EQ(scaleLabelTexts(-1), (Labels{"-0.2", "-0.5", "-0.8"}));
    // Plain digits, never an exponent.
    EXPECT_EQ(scaleLabelTexts(400000000), (Labels{"100000000", "200000000", "300000000"}));
    EXPECT_EQ(scaleLabelTexts(2147483647), (Labels{"536870911.8", "1073741823.5", "1610612735.2"}));
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-2.6), -3);
}

TEST(FirstEnd, TurnsAroundThePivot)
{
    const Point pivot{900, 910};
    const auto near = [](Point a, Point b) {
        return std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9;
    };
    EXPECT_TRUE(near(firstEndAt(pivot, 600, 0), {300, 910}));           // left
    EXPECT_TRUE(near(firstEndAt(pivot, 600, P / 2), {900, 310}));       // straight up
    EXPECT_TRUE(near(firstEndAt(pivot, 600, P), {1500, 910}));          // right
    const Point zero = firstEndAt(pivot, 600, -P / 4);                  // down to the left
    EXPECT_LT(zero.x, pivot.x);
    EXPECT_GT(zero.y, pivot.y);
    const Point full = firstEndAt(pivot, 600, 1.2375 * P);              // down to the right
    EXPECT_GT(full.x, pivot.x);
    EXPECT_GT(full.y, pivot.y);
}

}  // namespace
}  // namespace kelvane
