#include "core/pause_control.h"
#include "shell/shell_commands.h"
#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class TrayTest : public ::testing::Test {
protected:
    ShellHarness s;
    SysWorkSystray& tray() { return s.tray(); }
    AppState& app() { return s.app(); }
};

TEST_F(TrayTest, StartUpPutsTheIconInWithTheTitleAndShutDownTakesItOut)
{
    EXPECT_TRUE(tray().iconPresent());
    EXPECT_EQ(tray().tip(), "Volmara 12/10 09:30");
    EXPECT_EQ(tray().picture(), TrayPicture::Normal);
    EXPECT_EQ(tray().uID(), 1);
    EXPECT_FALSE(tray().tmrSystray.Enabled());

    s.h.model->Form_Unload();
    EXPECT_FALSE(tray().iconPresent());
}

TEST_F(TrayTest, TipsGetTheDateAndShowAtMost63Characters)
{
    s.h.clock.set(DateTime{2026, 5, 14, 17, 5, 0});
    const std::string seventy(70, 'x');
    struct Case {
        std::int16_t intM;
        std::string tip;
        bool presentBefore;
        bool presentAfter;
        std::string shown;
    };
    for (const auto& c : {
             Case{2, "0.0 Free. 0 onWatch. 0 Alert(s).", true, true, "0.0 Free. 0 onWatch. 0 Alert(s). 05/14 17:05"},
             Case{2, seventy, true, true, std::string(63, 'x')},
             Case{2, std::string(55, 'y'), true, true, std::string(55, 'y') + " 05/14 1"},
             Case{2, "", false, true, "Volmara 05/14 17:05"},
             Case{1, "already there", true, true, "<unchanged>"}, // an add of a present icon fails
             Case{1, "", false, true, "Volmara 05/14 17:05"},
             Case{3, "no such command", true, true, "<unchanged>"},
             Case{0, "", true, false, "<unchanged>"},
         }) {
        SCOPED_TRACE(std::to_string(c.intM) + " " + c.tip);
        if (tray().iconPresent() != c.presentBefore)
            tray().prcAddSystray(c.presentBefore ? 1 : 0, "before");
        const auto before = tray().tip();
        tray().prcAddSystray(c.intM, c.tip);
        EXPECT_EQ(tray().iconPresent(), c.presentAfter);
        EXPECT_EQ(tray().tip(), c.shown == "<unchanged>" ? before : c.shown);
    }
    // Counted in characters: a multi-byte character is never cut in half.
    tray().prcAddSystray(2, std::string(62, 'z') + "\xC3\xA9" + "tail");
    EXPECT_EQ(tray().tip(), std::string(62, 'z') + "\xC3\xA9");
}

TEST_F(TrayTest, HighRatedAlertsBlinkEverySecondUntilTheCycleStopsIt)
{
    struct Case {
        std::string level;
        std::int16_t intNotify;
        bool blinks;
    };
    for (const auto& c : {Case{"Medium", 0, false}, Case{"High", 0, true}, Case{"high", 0, true}, Case{"Medium", 1, true}}) {
        SCOPED_TRACE(c.level + " " + std::to_string(c.intNotify));
        tray().stopBlinking();
        app().log.prcAlertInfo("t", c.level, "action " + c.level, c.intNotify, nullptr);
        EXPECT_EQ(tray().tmrSystray.Enabled(), c.blinks);
    }
    tray().stopBlinking();

    app().log.prcAlertInfo("t", "High", "Space Shortage", 0, nullptr);
    s.h.loop.advance(999);
    EXPECT_FALSE(tray().g_bolMsgIcon);
    EXPECT_EQ(tray().picture(), TrayPicture::Normal);
    s.h.loop.advance(1);
    EXPECT_TRUE(tray().g_bolMsgIcon);
    EXPECT_EQ(tray().picture(), TrayPicture::Alert);
    EXPECT_EQ(tray().tip(), "New Alert Message!");
    s.h.loop.advance(1000);
    EXPECT_EQ(tray().picture(), TrayPicture::Normal);
    EXPECT_EQ(tray().tip(), "Zembrik Volmara");
    s.h.loop.advance(1000);
    EXPECT_EQ(tray().picture(), TrayPicture::Alert);

    // Stopped from outside, the icon keeps the last picture and the phase is not reset.
    tray().stopBlinking();
    s.h.loop.advance(5000);
    EXPECT_EQ(tray().picture(), TrayPicture::Alert);
    EXPECT_TRUE(tray().blinkPhase());
    tray().startBlinking();
    s.h.loop.advance(1000);
    EXPECT_EQ(tray().picture(), TrayPicture::Normal);
}

TEST_F(TrayTest, DoubleClickAcknowledgesShowsAndHidesAndRightClickPopsTheMenu)
{
    app().log.prcAlertInfo("t", "High", "Space Shortage", 0, nullptr);
    s.h.loop.advance(1000);
    app().form1.visible = false;

    // Acknowledged: the blinking ends on the normal picture and the main window comes forward.
    tray().mouseMessage(kWmLButtonDblClk);
    EXPECT_FALSE(tray().tmrSystray.Enabled());
    EXPECT_FALSE(tray().g_bolMsgIcon);
    EXPECT_EQ(tray().picture(), TrayPicture::Normal);
    EXPECT_EQ(tray().tip(), "Zembrik Volmara");
    EXPECT_TRUE(app().form1.visible);
    EXPECT_EQ(s.raised, 1);

    // No alert: the main window toggles.
    tray().mouseMessage(kWmLButtonDblClk);
    EXPECT_FALSE(app().form1.visible);
    tray().mouseMessage(kWmLButtonDblClk);
    EXPECT_TRUE(app().form1.visible);
    EXPECT_EQ(s.raised, 3);

    tray().mouseMessage(kWmRButtonUp);
    EXPECT_EQ(s.menus, 1);
    for (const int other : {512, 513, 514, 516})
        tray().mouseMessage(other);
    EXPECT_EQ(s.menus, 1);
    EXPECT_TRUE(app().form1.visible);
    EXPECT_EQ(s.raised, 3);
}

TEST_F(TrayTest, DoubleClickWhileLockedOpensTheLockWindowAndTheBlinkingGoesOn)
{
    app().log.prcAlertInfo("t", "High", "Space Shortage", 0, nullptr);
    s.h.loop.advance(1000);
    app().frmLock.g_bolLocked = true;
    app().form1.visible = false;

    tray().mouseMessage(kWmLButtonDblClk);
    EXPECT_TRUE(app().frmLock.visible());
    EXPECT_EQ(app().frmLock.Command1(), "Unlock");
    EXPECT_EQ(app().frmLock.Text1(), "");
    EXPECT_FALSE(app().form1.visible);
    EXPECT_TRUE(tray().tmrSystray.Enabled());
    EXPECT_TRUE(tray().g_bolMsgIcon);
    EXPECT_EQ(s.raised, 0);
}

TEST_F(TrayTest, ShowInSystrayAndToSystray)
{
    chkSystray_Click(app(), 0);
    EXPECT_FALSE(tray().iconPresent());
    EXPECT_TRUE(app().form1.visible);

    mnuToSystray_Click(app());
    EXPECT_TRUE(tray().iconPresent());
    EXPECT_FALSE(app().form1.visible);

    chkSystray_Click(app(), 1);
    EXPECT_TRUE(tray().iconPresent());
    EXPECT_TRUE(s.h.dialogs.shown.empty());
}

TEST(TrayWithoutDesktopTray, ShowInSystraySaysSoAndToSystrayKeepsTheWindow)
{
    ShellHarness s(false);
    EXPECT_FALSE(s.tray().iconPresent());
    EXPECT_FALSE(s.tray().lastResult());

    chkSystray_Click(s.app(), 1);
    EXPECT_EQ(s.lastMessage(), kNoSystemTray);
    EXPECT_EQ(s.app().settings.chkSystray, 1);

    chkSystray_Click(s.app(), 0);
    const auto shown = s.h.dialogs.shown.size();
    mnuToSystray_Click(s.app());
    EXPECT_EQ(s.h.dialogs.shown.size(), shown + 1);
    EXPECT_EQ(s.lastMessage(), kNoSystemTray);
    EXPECT_TRUE(s.app().form1.visible);
}

TEST_F(TrayTest, TheMinuteTickShowsTheSummaryAndThePauseToggleItsOwnTip)
{
    app().settings.chkSystray = 1;
    s.h.loop.advance(60000);
    EXPECT_EQ(tray().tip(), traySummary(app()) + " 12/10 09:31");

    cmdPause_Click(app()); // the start-up check left the watch running
    EXPECT_EQ(app().form1.cmdPause, "Start Watch");
    EXPECT_EQ(tray().tip(), "Volmara! Paused");
    EXPECT_EQ(tray().picture(), TrayPicture::Paused);

    app().settings.chkSystray = 0;
    s.h.loop.advance(60000);
    EXPECT_EQ(tray().tip(), "Volmara! Paused");
}

} // namespace
} // namespace volmara::test
