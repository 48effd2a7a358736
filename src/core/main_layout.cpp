#include "core/main_layout.h"

namespace volmara {

ViewToggle toggleView(int currentHeight, int compact, int fullHeight)
{
    if (samePixel(currentHeight, fullHeight))
        return ViewToggle{compact, MainView::Compact, viewCaption(MainView::Compact), false};
    return ViewToggle{fullHeight, MainView::Full, viewCaption(MainView::Full), true};
}

std::string_view viewCaption(MainView view)
{
    switch (view) {
    case MainView::Full:
        return "View -";
    case MainView::Compact:
        return "View +";
    case MainView::Initial:
        break;
    }
    return "View";
}

WindowSize layoutSize(WindowSize requested, int compact)
{
    if (compact <= 0)
        return WindowSize{kMinWidth, kMinHeight};
    WindowSize size = requested;
    if (size.height < kMinHeight)
        size.height = compact;
    if (size.width < kMinWidth)
        size.width = kMinWidth;
    return size;
}

} // namespace volmara
