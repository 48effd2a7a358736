#include "gauge_math.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kelvane {

double roundHalfEven(double x)
{
    // Not std::nearbyint: that follows the caller's floating-point rounding mode.
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

double GetNeedleAngle(double value, double maximum)
{
    double v = value;
    const double m = maximum;
    if (v > m) v = m;
    if (m == 0) throw GaugeError(ErrorKind::DivisionByZero, "Division by zero");
    const double base = (v / m) * P;
    double offset;
    if (v <= m / 2) {
        offset = v < m / 9 ? -P / 4 : -(P / 4) * 0.75;
    } else {
        offset = v <= (3.0 / 4.0) * m ? (P / 4) * 0.75 : (P / 4) * 0.95;
    }
    return base + offset;
}

Point firstEndAt(Point pivot, std::int16_t length, double angle)
{
    return {pivot.x - length * std::cos(angle), pivot.y - length * std::sin(angle)};
}

std::string scaleLabelText(double x)
{
    // "+ 0.0" turns a negative zero into "0".
    const double rounded = roundHalfEven(x * 10) / 10 + 0.0;
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    if (ec != std::errc{}) return "0";
    return std::string(buffer, end);
}

std::array<std::string, 3> scaleLabelTexts(std::int32_t maximum)
{
    const double m = maximum;
    return {scaleLabelText(m / 4), scaleLabelText(m / 2), scaleLabelText((m / 4) * 3)};
}

}  // namespace kelvane
