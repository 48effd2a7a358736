#include "speedometer.h"

#include <cmath>
#include <limits>

namespace kelvane {

namespace {

std::int16_t lengthOf(const Line& line)
{
    return static_cast<std::int16_t>(roundHalfEven(line.p2.x - line.p1.x));
}

}  // namespace

// The members start as designed; these are the steps of initialisation.
// (Assigning from std::string: GCC 12 at -O3 reports a false -Wrestrict on a
// plain literal here.)
Speedometer::Speedometer()
{
    maximum_ = 100;
    lblSpeedoCaption_ = std::string(".");
    needleLength_ = lengthOf(lineSpeed_);
    markerLength_ = lengthOf(lineTH_);
    lblSpeed_ = std::string("0");
}

std::int32_t Speedometer::MaxValue() const
{
    return static_cast<std::int32_t>(roundHalfEven(maximum_));
}

void Speedometer::setMaxValue(std::int32_t value)
{
    maximum_ = value;
    SetScaleLabels(value);
}

void Speedometer::SetScaleLabels(std::int32_t maximum)
{
    lbSpeedoVal_ = scaleLabelTexts(maximum);
}

double Speedometer::storeClamped(double value) const
{
    // A host's double can hold what no line position can: refuse it whole.
    if (std::isnan(value) || value == -std::numeric_limits<double>::infinity())
        throw GaugeError(ErrorKind::InvalidArgument, "not a usable value");
    return value > maximum_ ? maximum_ : value;
}

void Speedometer::setActiveSpeed_line(double value)
{
    activeValue_ = storeClamped(value);
    const double angle = GetNeedleAngle(activeValue_, maximum_);
    lastAngle_ = angle;
    PlaceSpeedLine(angle);
}

void Speedometer::setThreshold0_line(double value)
{
    thresholdValue_ = storeClamped(value);
    const double angle = GetNeedleAngle(thresholdValue_, maximum_);
    lastAngle_ = angle;
    PlaceThresholdLine(angle);
}

void Speedometer::setNumericSpeed(std::string text)
{
    readingText_ = std::move(text);
    lblSpeed_ = readingText_;
}

void Speedometer::PlaceSpeedLine(double angle)
{
    lineSpeed_.p1 = firstEndAt(lineSpeed_.p2, needleLength_, angle);
}

void Speedometer::PlaceThresholdLine(double angle)
{
    lineTH_.p1 = firstEndAt(lineTH_.p2, markerLength_, angle);
}

}  // namespace kelvane
