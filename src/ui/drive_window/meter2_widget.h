#pragma once

#include "driveinfo/meter2.h"

#include <QFrame>

class QLabel;
class QScrollBar;

namespace volmara {

// The level meter on screen: its model's segments, read-out and scroll bar, at a fixed size.
class Meter2Widget final : public QFrame {
    Q_OBJECT
public:
    Meter2Widget(Meter2& model, QWidget* parent = nullptr);

    QScrollBar* scrollBar() const { return VScroll1_; }
    QLabel* readOut() const { return Label1_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    int twips(int value) const;

    Meter2& model_;
    QScrollBar* VScroll1_;
    QLabel* Label1_;
};

} // namespace volmara
