#include "ui/link_label.h"

#include <QMouseEvent>

namespace volmara {

LinkLabel::LinkLabel(const QString& caption, const QString& toolTip, QWidget* parent)
    : QLabel(caption, parent), down_(0xE0, 0xE0, 0xE0), up_(0xFF, 0x80, 0x00)
{
    setToolTip(toolTip);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setTextColor(palette().color(QPalette::Link));
}

void LinkLabel::setPressColors(const QColor& down, const QColor& up)
{
    down_ = down;
    up_ = up;
}

void LinkLabel::setBackgroundColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void LinkLabel::setTextColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setTextColor(down_);
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    setTextColor(up_);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace volmara
