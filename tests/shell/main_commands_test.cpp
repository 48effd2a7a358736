#include "shell/main_commands.h"
#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

TEST(MainCommands, ToolbarClicksAreDispatchedByTheCaptionOfTheMoment)
{
    struct Case {
        const char* caption;
        ToolbarCommand command;
    };
    const std::vector<Case> cases{
        {"Start", ToolbarCommand::Pause},         {"Pause", ToolbarCommand::Pause},
        {"Wizard Settings", ToolbarCommand::Wizard}, {"Adv. Info", ToolbarCommand::AdvancedInfo},
        {"Functions", ToolbarCommand::Functions}, {"More Functions...", ToolbarCommand::Functions},
        {"View", ToolbarCommand::View},           {"View +", ToolbarCommand::View},
        {"View -", ToolbarCommand::View},         {"Help", ToolbarCommand::Help},
        {"Help ", ToolbarCommand::None},          {"pause", ToolbarCommand::None},
        {"Adv. Info ", ToolbarCommand::None},     {"", ToolbarCommand::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(toolbarCommand(c.caption), c.command);
    }
    // Every button but the separator reaches a command.
    for (const auto& button : kToolbar1Buttons)
        EXPECT_EQ(button.caption.empty(), toolbarCommand(button.caption) == ToolbarCommand::None) << button.caption;
}

TEST(MainCommands, FadingLevelsBecomeOpacitiesRoundedHalfToEven)
{
    struct Case {
        int level;
        std::optional<int> opacity;
    };
    const std::vector<Case> cases{
        {19, std::nullopt}, {20, 51},  {30, 76}, {50, 128}, {65, 166},
        {70, 178},          {80, 204}, {90, 230}, {100, 255}, {101, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(fadeOpacity(c.level), c.opacity);
    }
    ShellHarness s;
    SetWindowFade(s.app(), 65);
    EXPECT_EQ(s.app().form1.windowOpacity, 166);
    SetWindowFade(s.app(), 10); // ignored
    EXPECT_EQ(s.app().form1.windowOpacity, 166);
    SetWindowFade(s.app(), kMnuF.back().level);
    EXPECT_EQ(s.app().form1.windowOpacity, 255);
}

TEST(MainCommands, HideTogglesWithItsOwnCheckMarkOnly)
{
    ShellHarness s;
    auto& form = s.app().form1;
    ASSERT_TRUE(form.visible);
    mnuHide_Click(s.app());
    EXPECT_TRUE(form.mnuHideChecked);
    EXPECT_FALSE(form.visible);
    // The tray shows the window again; the mark stays, so the next choice shows a shown window.
    form.visible = true;
    mnuHide_Click(s.app());
    EXPECT_FALSE(form.mnuHideChecked);
    EXPECT_TRUE(form.visible);

    mnuStayOnTop_Click(s.app());
    EXPECT_TRUE(form.mnuStayOnTopChecked);
    mnuStayOnTop_Click(s.app());
    EXPECT_FALSE(form.mnuStayOnTopChecked);
}

TEST(MainCommands, ExitAsksWithTheTimersHeldAndEndsOnlyOnOk)
{
    ShellHarness s;
    auto& app = s.app();
    int unloads = 0;
    s.h.dialogs.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
    app.Timer1.setEnabled(false);

    mnuExit_Click(app, [&] { ++unloads; });
    s.h.loop.runPending();
    EXPECT_EQ(s.lastMessage(), "Exit the program?");
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(app.Timer1.Enabled()) << "Cancel holds the timers again";

    mnuExit_Click(app, [&] { ++unloads; });
    s.h.loop.runPending();
    EXPECT_EQ(unloads, 1);
}

TEST(MainCommands, HelpOpensThePageBesideTheProgramOrSaysItIsMissing)
{
    ShellHarness s;
    auto& app = s.app();
    const auto page = helpPagePath(app);
    EXPECT_TRUE(page.ends_with("/help.html"));

    openHelp(app);
    s.h.loop.runPending();
    EXPECT_TRUE(s.h.shell.opened.empty());
    EXPECT_EQ(s.lastMessage(), "The help page is missing: " + page);

    s.h.files.files[page] = "<html></html>";
    openHelp(app);
    s.h.loop.runPending();
    EXPECT_EQ(s.h.shell.opened, std::vector<std::string>{page});

    // The other windows' help buttons open the same page.
    app.frmWizard.openHelp();
    s.h.loop.runPending();
    EXPECT_EQ(s.h.shell.opened.size(), 2u);
}

TEST(MainCommands, ShowInfoShowsTheSelectedEntryAndNothingWithoutOne)
{
    ShellHarness s;
    auto& app = s.app();
    auto& rows = app.ListView1.rows();
    ASSERT_FALSE(rows.empty());
    for (auto& row : rows)
        row.selected = false;
    mnuInfo_Click(app);
    s.h.loop.runPending();
    EXPECT_TRUE(s.h.shell.properties.empty());

    rows.front().selected = true;
    mnuInfo_Click(app);
    s.h.loop.runPending();
    ASSERT_EQ(s.h.shell.properties.size(), 1u);
    EXPECT_EQ(s.h.shell.properties[0].path, rows.front().path);
}

} // namespace
} // namespace volmara::test
