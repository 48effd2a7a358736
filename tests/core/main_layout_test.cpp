// The main window's view toggle and resize rules, in twips.
#include "core/main_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace volmara {
namespace {

constexpr int kCompact = 4600;

TEST(MainLayout, ResizeRules)
{
    const struct {
        WindowSize requested;
        WindowSize expected;
    } cases[] = {
        {{8070, 3000}, {8070, kCompact}}, // too low: compact
        {{7000, 9100}, {8070, 9100}},     // too narrow: the least width
        {{8030, 9100}, {8070, 9100}},     // the start-up width is widened
        {{5000, 1000}, {8070, kCompact}},
        {{8070, 3900}, {8070, 3900}}, // the least height itself stays
        {{12000, 12000}, {12000, 12000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.requested.width) + "x" + std::to_string(c.requested.height));
        EXPECT_EQ(layoutSize(c.requested, kCompact), c.expected);
    }
    EXPECT_EQ(layoutSize({9000, 9000}, 0), (WindowSize{8070, 3900})) << "no compact height to apply";
}

TEST(MainLayout, ViewToggle)
{
    const struct {
        int height;
        int expectedHeight;
        MainView view;
        const char* caption;
    } cases[] = {
        {9100, kCompact, MainView::Compact, "View +"},
        {toTwips(toPixels(9100)), kCompact, MainView::Compact, "View +"}, // 9100 as the window rounded it
        {9000, 9100, MainView::Full, "View -"},
        {kCompact, 9100, MainView::Full, "View -"},
        {12000, 9100, MainView::Full, "View -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const auto toggle = toggleView(c.height, kCompact);
        EXPECT_EQ(toggle.height, c.expectedHeight);
        EXPECT_EQ(toggle.view, c.view);
        EXPECT_EQ(toggle.caption, c.caption);
        EXPECT_EQ(toggle.framesShown, c.view == MainView::Full);
    }
    // Content that needs more than 9100 makes that height the full one.
    EXPECT_EQ(toggleView(10470, kCompact, 10470).view, MainView::Compact);
    EXPECT_EQ(toggleView(9100, kCompact, 10470).height, 10470);
    EXPECT_EQ(viewCaption(MainView::Initial), "View");
    EXPECT_EQ(compactHeight(750, 3350), 4600);
}

} // namespace
} // namespace volmara
