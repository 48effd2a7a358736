// The speedometer's arithmetic: needle angles, scale-label texts, line ends.
// Plain C++; the widget only draws what these compute.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kelvane {

// The gauge's own value of pi; angles are compared against it exactly.
inline constexpr double P = 3.14159265358979;

// Twips (1440 to the inch, y downwards), the control's logical units.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

enum class ErrorKind { DivisionByZero, InvalidArgument };

// A failure of one property set; the host gets it as that property's error.
class GaugeError : public std::runtime_error {
public:
    GaugeError(ErrorKind kind, const char* what) : std::runtime_error(what), kind_(kind) {}
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

// Rounds to the nearest integer, halves to even.
double roundHalfEven(double x);

// The needle angle for value on a scale of 0..maximum. Values above the maximum
// count as the maximum; values below zero are taken as they are. The scale is
// piecewise: four offsets, chosen by comparing with m/2 first, then m/9 or 3m/4.
// Throws GaugeError(DivisionByZero) for a maximum of 0.
double GetNeedleAngle(double value, double maximum);

// Where a line's first end goes when it pivots on pivot at angle: 0 points
// left of the pivot, P/2 straight up, P to the right.
Point firstEndAt(Point pivot, std::int16_t length, double angle);

// x rounded to one decimal (halves to even), in its shortest decimal form.
std::string scaleLabelText(double x);

// The three scale labels for a maximum: a quarter, a half, three quarters.
std::array<std::string, 3> scaleLabelTexts(std::int32_t maximum);

}  // namespace kelvane
