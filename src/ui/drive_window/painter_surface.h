#pragma once

#include "driveinfo/drawing_surface.h"

#include <QColor>
#include <QPalette>

class QPainter;

namespace volmara {

// A colour value of the core on this window system; system colours come from `palette`.
QColor qColour(Colour colour, const QPalette& palette = QPalette());

// The core's drawing surface on a QPainter that lives for one paint event, so nothing the
// charts draw with outlasts the drawing.
class PainterSurface final : public DrawingSurface {
public:
    PainterSurface(QPainter& painter, const QPalette& palette) : painter_(painter), palette_(palette) {}

    void rectangle(const PixelRect& bounds, Colour fill) override;
    void pie(const PixelRect& bounds, double startDegrees, double sweepDegrees, Colour fill) override;
    void text(int x, int y, std::string_view text) override;

private:
    QPainter& painter_;
    const QPalette& palette_;
};

} // namespace volmara
