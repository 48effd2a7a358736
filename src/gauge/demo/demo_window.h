// kelvane-demo's window: one ctlSpmeter and the fields that drive it.
#pragma once

#include <QWidget>

#include "kelvane/kelvane.h"

class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace kelvane::demo {

class DemoWindow : public QWidget {
public:
    // Takes over the reference to control.
    explicit DemoWindow(KvSpmeter* control);
    ~DemoWindow() override;

    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;

private:
    static void onMouseDown(void* context, std::int16_t button, std::int16_t shift, float x,
                            float y);

    enum class Marker { Needle, Threshold };

    void setMaximum(int value);
    void setLine(Marker marker, int value);
    void report(const char* property, KvResult result);
    void showValues();

    KvSpmeter* control_;
    std::uint32_t cookie_ = 0;
    QSpinBox* maximum_;
    QSlider* speed_;
    QSlider* threshold_;
    QLineEdit* reading_;
    QLineEdit* caption_;
    QLabel* values_;
    QLabel* mouseDown_;
    QLabel* status_;
};

}  // namespace kelvane::demo
