// The control's window: draws a Speedometer and turns presses into MouseDown.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "speedometer.h"

namespace kelvane {

class SpmeterWidget : public QWidget {
public:
    // Button, Shift, X, Y as the event carries them.
    using MouseDownHandler = std::function<void(std::int16_t, std::int16_t, float, float)>;

    explicit SpmeterWidget(std::shared_ptr<const Speedometer> model, QWidget* parent = nullptr);
    ~SpmeterWidget() override;

    void setMouseDownHandler(MouseDownHandler handler) { onMouseDown_ = std::move(handler); }
    // True while a MouseDown handler runs; the window must not be deleted then.
    bool isDispatching() const { return dispatching_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<const Speedometer> model_;
    MouseDownHandler onMouseDown_;
    bool dispatching_ = false;
};

}  // namespace kelvane
