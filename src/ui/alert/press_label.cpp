#include "ui/alert/press_label.h"

#include <QMouseEvent>

namespace volmara {

QColor toQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

PressLabel::PressLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setMargin(2);
}

void PressLabel::setColors(const QColor& text, const std::optional<QColor>& background)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, text);
    if (background)
        p.setColor(QPalette::Window, *background);
    setPalette(p);
    setAutoFillBackground(background.has_value());
}

void PressLabel::showLook(const std::optional<CommandLook>& look)
{
    QFont f = font();
    f.setUnderline(!look);
    setFont(f);
    if (look)
        setColors(toQColor(look->text), toQColor(look->background));
    else
        setColors(parentWidget() ? parentWidget()->palette().color(QPalette::Link) : palette().color(QPalette::Link),
                  std::nullopt);
}

void PressLabel::showLook(const ActionLook& look)
{
    setColors(toQColor(look.text), toQColor(look.background));
    setFrameStyle(look.border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
}

void PressLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit pressed();
}

void PressLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace volmara
