#pragma once

#include <QLabel>

namespace volmara {

// A command label: looks like a link, runs its command on a click.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& caption, const QString& toolTip, QWidget* parent = nullptr);

    // Text colours while the mouse button is down and after it is released.
    void setPressColors(const QColor& down, const QColor& up);
    void setTextColor(const QColor& color);
    void setBackgroundColor(const QColor& color);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor down_;
    QColor up_;
};

} // namespace volmara
