// One ctlSpmeter control's state and the semantics of its properties; the
// widget draws it and the component object exposes it to the host.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "gauge_math.h"

namespace kelvane {

struct Line {
    Point p1;
    Point p2;  // the pivot: it never moves
};

class Speedometer {
public:
    Speedometer();

    std::int32_t MaxValue() const;
    // Rewrites the scale labels; the needle and the marker stay where they are.
    void setMaxValue(std::int32_t value);

    const std::string& SpeedometerCaption() const { return lblSpeedoCaption_; }
    void setSpeedometerCaption(std::string text) { lblSpeedoCaption_ = std::move(text); }

    double ActiveSpeed_line() const { return activeValue_; }
    // Stores min(value, maximum), then moves the needle. With a maximum of 0
    // the value is stored and GaugeError(DivisionByZero) thrown, the needle
    // unmoved. NaN and minus infinity are refused with nothing changed.
    void setActiveSpeed_line(double value);

    const std::string& NumericSpeed() const { return readingText_; }
    void setNumericSpeed(std::string text);

    double Threshold0_line() const { return thresholdValue_; }
    // As setActiveSpeed_line, for the marker.
    void setThreshold0_line(double value);

    // What the parts show.
    const std::string& lbSpeedoVal(int index) const { return lbSpeedoVal_.at(index - 1); }
    const std::string& lblSpeed() const { return lblSpeed_; }
    const std::string& lblBits() const { return lblBits_; }
    const Line& lineSpeed() const { return lineSpeed_; }
    const Line& lineTH() const { return lineTH_; }
    const Line& Line1() const { return line1_; }

    std::int16_t needleLength() const { return needleLength_; }
    std::int16_t markerLength() const { return markerLength_; }
    double lastAngle() const { return lastAngle_; }

    void SetScaleLabels(std::int32_t maximum);
    void PlaceSpeedLine(double angle);
    void PlaceThresholdLine(double angle);

private:
    double storeClamped(double value) const;

    double maximum_ = 100;
    double activeValue_ = 0;
    double thresholdValue_ = 0;
    std::string readingText_;
    std::int16_t needleLength_ = 0;
    std::int16_t markerLength_ = 0;
    double lastAngle_ = 0;

    std::array<std::string, 3> lbSpeedoVal_{"0", "0", "0"};
    std::string lblSpeedoCaption_ = "Speedometer";
    std::string lblSpeed_ = "0";
    std::string lblBits_ = "Kb/s";
    Line lineSpeed_{{300, 910}, {900, 910}};
    Line lineTH_{{360, 795}, {930, 910}};
    Line line1_{{960, 960}, {1200, 960}};
};

}  // namespace kelvane
