#include "driveinfo/pie_chart.h"

#include "core/error.h"
#include "core/format.h"

namespace volmara {

void clsPie::AddSegment(double dblPercentage, std::string strName, Colour lngColour)
{
    segments_.push_back(Segment{dblPercentage, std::move(strName), lngColour});
}

void clsPie::Clear() { segments_.clear(); }

PixelRect clsPie::swatchRect(int row) { return {110, 53 + 15 * row, 140, 63 + 15 * row}; }

int clsPie::legendTextY(int row) { return 52 + 15 * row; }

std::string clsPie::legendText(const Segment& segment) const
{
    return segment.name + "(" + formatNumber(segment.amount, "###,###,###,###,###,###,###", locale_) + ")";
}

void clsPie::drawLegendRow(DrawingSurface& surface, int row, const Segment& segment) const
{
    surface.rectangle(swatchRect(row), segment.colour);
    surface.text(legendTextX(), legendTextY(row), legendText(segment));
}

void clsPie::drawWedge(DrawingSurface& surface, std::int64_t percent, Colour colour)
{
    if (percent <= 0)
        return;
    surface.pie(kPieBounds, 0, static_cast<double>(percent) * 3.6, colour);
}

std::int32_t clsPie::DrawPie(DrawingSurface& surface, bool blnShowLegend, std::string_view strGraphTitle,
                             std::string_view strSubKey) const
{
    try {
        if (segments_.empty())
            throw Error(ErrorKind::IndexOutOfRange, "Subscript out of range");
        double sum = 0;
        for (const Segment& segment : segments_)
            sum += segment.amount;

        if (blnShowLegend)
            drawLegendRow(surface, 0, segments_.front());
        drawWedge(surface, 100, segments_.front().colour);

        // Each later segment is painted over the earlier ones from 12 o'clock, as a wedge of
        // what is left after the segments before it. All-zero amounts make 0 / 0 here, which
        // rounding refuses.
        double remaining = 100;
        for (std::size_t i = 0; i + 1 < segments_.size(); ++i) {
            remaining -= segments_[i].amount / sum * 100;
            const std::int64_t wedge = roundHalfEven(remaining);
            if (blnShowLegend)
                drawLegendRow(surface, static_cast<int>(i + 1), segments_[i + 1]);
            drawWedge(surface, wedge, segments_[i + 1].colour);
        }
        surface.text(kTitleX, kTitleY, strGraphTitle);
        surface.text(kSubKeyX, kSubKeyY, strSubKey);
        return kDrawn;
    } catch (...) {
        return kFailed;
    }
}

} // namespace volmara
