#pragma once

#include <QWidget>

namespace volmara {

// A pair of arrow buttons beside a field; the model decides what a step does.
class UpDown final : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

signals:
    void up();
    void down();
};

} // namespace volmara
