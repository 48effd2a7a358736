#include "ui/drive_window/meter2_widget.h"

#include "ui/binding.h"
#include "ui/drive_window/painter_surface.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

namespace volmara {

Meter2Widget::Meter2Widget(Meter2& model, QWidget* parent)
    : QFrame(parent), model_(model), VScroll1_(new QScrollBar(Qt::Vertical, this)), Label1_(new QLabel(this))
{
    setFixedSize(twips(Meter2::kWidthTwips), twips(Meter2::kHeightTwips));

    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    VScroll1_->setRange(0, Meter2::kScrollMax);
    // The top of the bar is its maximum: an empty gauge.
    VScroll1_->setInvertedAppearance(true);
    VScroll1_->setInvertedControls(false);
    VScroll1_->setGeometry(twips(Meter2::kScrollLeft), twips(Meter2::kScrollTop), twips(Meter2::kScrollWidth),
                           twips(Meter2::kScrollHeight));
    connect(VScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { guarded("Meter2", [&] { model_.VScroll1_Change(value); }); });

    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignCenter);
    QFont small = Label1_->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    Label1_->setFont(small);
    Label1_->setGeometry(0, twips(Meter2::kLabelTop), width(), twips(Meter2::kLabelHeight));

    refreshOn(model_, this, [](Meter2Widget& w) { w.refresh(); });
    refresh();
}

int Meter2Widget::twips(int value) const { return value * logicalDpiX() / 1440; }

void Meter2Widget::refresh()
{
    quietly(VScroll1_, [&](QScrollBar& bar) { bar.setValue(model_.Value()); });
    Label1_->setText(qs(model_.Label1()));
    setFrameShape(model_.Border() == 0 ? QFrame::NoFrame : QFrame::Box);
    update();
}

void Meter2Widget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The segments are laid out at 15 twips to the pixel.
    const qreal scale = logicalDpiX() / 96.0;
    painter.scale(scale, scale);
    PainterSurface surface(painter, palette());
    model_.draw(surface);
}

} // namespace volmara
