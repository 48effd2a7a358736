#pragma once

#include "core/locale.h"
#include "driveinfo/drawing_surface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// A small pie chart with a legend, a title and a sub-caption, drawn at a fixed pixel geometry.
// Amounts are normalised to shares of their sum when drawn.
class clsPie {
public:
    struct Segment {
        double amount = 0;
        std::string name;
        Colour colour = 0;
    };

    // What DrawPie returns.
    static constexpr std::int32_t kDrawn = 1;
    static constexpr std::int32_t kFailed = 2;

    // Pie: the circle inscribed in this square.
    static constexpr PixelRect kPieBounds{0, 20, 100, 120};
    static constexpr int kTitleX = 22, kTitleY = 0;
    static constexpr int kSubKeyX = 110, kSubKeyY = 80;

    clsPie() { Clear(); }
    explicit clsPie(Locale locale) : locale_(std::move(locale)) { Clear(); }

    void AddSegment(double dblPercentage, std::string strName, Colour lngColour);
    void Clear();
    const std::vector<Segment>& segments() const { return segments_; }

    // Draws everything on `surface` without clearing it first: kDrawn when it finished, kFailed
    // when an error stopped it (what was drawn until then stays).
    std::int32_t DrawPie(DrawingSurface& surface, bool blnShowLegend, std::string_view strGraphTitle,
                         std::string_view strSubKey) const;

    // Legend row `row` of a segment: the swatch, and the text "name(amount)" beside it.
    static PixelRect swatchRect(int row);
    static int legendTextX() { return 145; }
    static int legendTextY(int row);
    std::string legendText(const Segment& segment) const;

private:
    void drawLegendRow(DrawingSurface& surface, int row, const Segment& segment) const;
    // The wedge of `percent` whole percent from 12 o'clock clockwise; 0 draws nothing.
    static void drawWedge(DrawingSurface& surface, std::int64_t percent, Colour colour);

    std::vector<Segment> segments_;
    Locale locale_;
};

} // namespace volmara
