#pragma once

#include "alerts/alert_dialog.h"

#include <QLabel>

#include <optional>

namespace volmara {

// A label that reports the mouse going down and up on it, and a click (a release inside it);
// its colours come from the model.
class PressLabel final : public QLabel {
    Q_OBJECT
public:
    PressLabel(const QString& caption, QWidget* parent = nullptr);

    // The look of a command: the link look until the model gives colours.
    void showLook(const std::optional<CommandLook>& look);
    // The look of an action of the row.
    void showLook(const ActionLook& look);

signals:
    void pressed();
    void released();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColors(const QColor& text, const std::optional<QColor>& background);
};

QColor toQColor(Rgb rgb);

} // namespace volmara
