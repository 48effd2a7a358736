#include "ui/drive_window/painter_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cmath>

namespace volmara {

namespace {

// The core's rectangles end before their right and bottom edges; an outlined QRect adds one.
QRect outlined(const PixelRect& r) { return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1); }

QPalette::ColorRole systemRole(Colour colour)
{
    switch (colour & 0xFF) {
    case 5: return QPalette::Base;        // window background
    case 8: return QPalette::Text;        // window text
    case 15: return QPalette::Button;     // button face
    case 18: return QPalette::ButtonText; // button text
    default: return QPalette::WindowText;
    }
}

} // namespace

QColor qColour(Colour colour, const QPalette& palette)
{
    if (colour >= 0x80000000u)
        return palette.color(systemRole(colour));
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF), static_cast<int>(colour >> 16 & 0xFF));
}

void PainterSurface::rectangle(const PixelRect& bounds, Colour fill)
{
    painter_.setBrush(qColour(fill, palette_));
    painter_.drawRect(outlined(bounds));
}

void PainterSurface::pie(const PixelRect& bounds, double startDegrees, double sweepDegrees, Colour fill)
{
    painter_.setBrush(qColour(fill, palette_));
    if (sweepDegrees >= 360) {
        painter_.drawEllipse(outlined(bounds));
        return;
    }
    // Qt counts from 3 o'clock, anticlockwise, in sixteenths of a degree.
    const int start = static_cast<int>(std::lround((90 - startDegrees) * 16));
    const int span = static_cast<int>(std::lround(-sweepDegrees * 16));
    painter_.drawPie(outlined(bounds), start, span);
}

void PainterSurface::text(int x, int y, std::string_view text)
{
    painter_.drawText(x, y + painter_.fontMetrics().ascent(),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace volmara
