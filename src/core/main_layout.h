#pragma once

#include <string_view>

namespace volmara {

// The main window's sizes, kept in twips as its layout rules are written; the window maps them to
// pixels at 15 twips a pixel. Two sizes that land on the same pixel count as the same size, so a
// window 9100 twips high (606.7 px) is still "exactly 9100" after the window system rounded it.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kFullHeight = 9100;
inline constexpr int kStartWidth = 8030;
inline constexpr int kMinWidth = 8070;
inline constexpr int kMinHeight = 3900;
// Below the upper region the compact view keeps room for the status bar.
inline constexpr int kCompactMargin = 500;

constexpr int toPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
constexpr bool samePixel(int a, int b) { return toPixels(a) == toPixels(b); }

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

enum class MainView { Initial, Full, Compact };

// The upper region only: the toolbar and the watch list frame, and the margin.
constexpr int compactHeight(int toolbarHeight, int watchFrameHeight)
{
    return toolbarHeight + watchFrameHeight + kCompactMargin;
}

// Toolbar button 5: a window exactly at the full height (9100, or the taller height the window's
// content needs) turns compact, any other height becomes the full height.
struct ViewToggle {
    int height = 0;
    MainView view = MainView::Full;
    std::string_view caption; // the button's new caption
    bool framesShown = true;  // "Specified Path to Move" and " Action on Space Shortage"
};
ViewToggle toggleView(int currentHeight, int compact, int fullHeight = kFullHeight);

// The caption of toolbar button 5 in a view.
std::string_view viewCaption(MainView view);

// The size the layout rules give the window for a size the user or the window system asked for:
// too low becomes the compact height, too narrow the least width; a size the rules cannot apply
// (a compact height that is no height) falls back to 8070 by 3900.
WindowSize layoutSize(WindowSize requested, int compact);

} // namespace volmara
