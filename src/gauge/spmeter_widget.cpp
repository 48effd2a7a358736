#include "spmeter_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRadialGradient>

#include <cmath>

#include "server_lifetime.h"
#include "surface_layout.h"

namespace kelvane {

namespace {

// The dial is drawn around the needle's pivot.
constexpr Point kCentre{900, 910};
constexpr double kDialRadius = 690;
constexpr double kScaleRadius = 590;

QPointF onDial(double angle, double radius)
{
    // Same direction as a line's first end: 0 left, P/2 up, P right.
    return {kCentre.x - radius * std::cos(angle), kCentre.y - radius * std::sin(angle)};
}

QRectF toQt(const Rect& r) { return {r.left, r.top, r.width, r.height}; }
QPointF toQt(Point p) { return {p.x, p.y}; }

void drawDial(QPainter& p)
{
    const QRectF img = toQt(partRect(Part::ImgMeter));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x2b, 0x33));
    p.drawRoundedRect(img, 75, 75);

    QRadialGradient face(toQt(kCentre), kDialRadius);
    face.setColorAt(0.0, QColor(0x4a, 0x52, 0x5e));
    face.setColorAt(0.85, QColor(0x1c, 0x20, 0x26));
    face.setColorAt(1.0, QColor(0x10, 0x12, 0x16));
    p.setBrush(face);
    p.setPen(QPen(QColor(0xb8, 0xbf, 0xc8), 45));
    p.drawEllipse(toQt(kCentre), kDialRadius, kDialRadius);

    // The coloured bands cover exactly the angles the needle can take: the
    // scale jumps at a ninth, at a half and at three quarters.
    struct Band {
        double fromValue, toValue;
        QColor colour;
    };
    const Band bands[] = {
        {0, 1.0 / 9 - 1e-9, QColor(0x3c, 0x9d, 0xd0)},
        {1.0 / 9, 0.5, QColor(0x4c, 0xc0, 0x5a)},
        {0.5 + 1e-9, 0.75, QColor(0xe8, 0xc5, 0x3a)},
        {0.75 + 1e-9, 1, QColor(0xe0, 0x4a, 0x3a)},
    };
    for (const Band& band : bands) {
        const double a0 = GetNeedleAngle(band.fromValue, 1);
        const double a1 = GetNeedleAngle(band.toValue, 1);
        QPainterPath arc;
        constexpr int steps = 24;
        for (int i = 0; i <= steps; ++i) {
            const QPointF pt = onDial(a0 + (a1 - a0) * i / steps, kScaleRadius);
            if (i == 0) arc.moveTo(pt);
            else arc.lineTo(pt);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(band.colour, 60, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(arc);
    }

    // Ticks every twentieth of the scale, long ones at the labelled quarters.
    for (int k = 0; k <= 20; ++k) {
        const double angle = GetNeedleAngle(k, 20);
        const bool major = k % 5 == 0;
        p.setPen(QPen(QColor(0xf0, 0xf0, 0xf0), major ? 30 : 15, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(onDial(angle, kScaleRadius - (major ? 110 : 60)), onDial(angle, kScaleRadius + 30));
    }
}

void drawLabel(QPainter& p, Part part, const std::string& text, int pixelSize,
               QFont::Weight weight, QColor colour)
{
    QFont font = p.font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(toQt(partRect(part)), Qt::AlignCenter | Qt::TextSingleLine,
               QString::fromStdString(text));
}

void drawLine(QPainter& p, const Line& line, QColor colour, double width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(toQt(line.p1), toQt(line.p2));
}

std::int16_t buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

std::int16_t shiftCode(Qt::KeyboardModifiers modifiers)
{
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

}  // namespace

SpmeterWidget::SpmeterWidget(std::shared_ptr<const Speedometer> model, QWidget* parent)
    : QWidget(parent), model_(std::move(model))
{
    server::objectCreated();
    // Whatever size the host asks for, the control keeps its own.
    setFixedSize(kSurfaceWidth / kTwipsPerPixel, kSurfaceHeight / kTwipsPerPixel);
}

SpmeterWidget::~SpmeterWidget() { server::objectDestroyed(); }

void SpmeterWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    p.fillRect(toQt(partRect(Part::Surface)), QColor(0xd8, 0xdc, 0xe0));

    const Speedometer& m = *model_;
    drawDial(p);
    drawLine(p, m.Line1(), QColor(0x8a, 0x93, 0x9e), 30);
    const QColor scaleText(0xe6, 0xe9, 0xed);
    for (int i = 1; i <= 3; ++i)
        drawLabel(p, scaleLabelPart(i), m.lbSpeedoVal(i), 135, QFont::Normal, scaleText);
    drawLabel(p, Part::lblSpeed, m.lblSpeed(), 180, QFont::Bold, QColor(0xff, 0xff, 0xff));
    drawLabel(p, Part::lblBits, m.lblBits(), 120, QFont::Normal, scaleText);
    drawLabel(p, Part::lblSpeedoCaption, m.SpeedometerCaption(), 150, QFont::Bold,
              QColor(0x1c, 0x20, 0x26));
    drawLine(p, m.lineTH(), QColor(0x3a, 0xd0, 0xe8), 30);
    drawLine(p, m.lineSpeed(), QColor(0xff, 0x6a, 0x2a), 45);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0xbf, 0xc8));
    p.drawEllipse(toQt(m.lineSpeed().p2), 60, 60);
}

void SpmeterWidget::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const std::int16_t button = buttonCode(event->button());
    if (button == 0 || !onMouseDown_) return;
    const QPointF px = event->position();
    const auto hit = hitTest({px.x() * kTwipsPerPixel, px.y() * kTwipsPerPixel});
    if (!hit || !raisesMouseDown(hit->part)) return;

    // The handler may release the control, which then replaces onMouseDown_:
    // run a copy, and do not touch this window afterwards if it is gone.
    const MouseDownHandler handler = onMouseDown_;
    const QPointer<SpmeterWidget> self(this);
    dispatching_ = true;
    handler(button, shiftCode(event->modifiers()), static_cast<float>(hit->local.x),
            static_cast<float>(hit->local.y));
    if (self) dispatching_ = false;
}

}  // namespace kelvane
