#include "core/pause_control.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class PauseControlTest : public ::testing::Test {
protected:
    AppHarness h;
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/"};
        h.load();
    }
    AppState& app() { return h.app(); }
    void at(int hour, int minute, int second = 0) { h.clock.set(DateTime{2026, 12, 10, hour, minute, second}); }
    void customWindow(DateTime begin, DateTime end)
    {
        app().settings.chkCustTime = 1;
        app().settings.DTTime1 = {begin, end};
    }
};

TEST_F(PauseControlTest, ToggleSwitchesEveryIndicator)
{
    ASSERT_EQ(app().form1.cmdPause, "Pause Watch");
    cmdPause_Click(app());
    const auto& f = app().form1;
    EXPECT_EQ(f.caption, "Volmara - Watching Paused.");
    EXPECT_EQ(f.cmdPause, "Start Watch");
    EXPECT_EQ(f.toolbarButton1Caption, "Start");
    EXPECT_EQ(f.toolbarButton1Image, kImageGreenLight);
    EXPECT_TRUE(f.mnuPauseChecked);
    EXPECT_EQ(f.StatusBar1[1].text, "Watch Paused.");
    EXPECT_FALSE(app().Timer1.Enabled());
    h.loop.advance(60000);
    EXPECT_EQ(app().checksDone, 1) << "no tick while paused";

    cmdPause_Click(app());
    EXPECT_EQ(f.caption, "Volmara - Watching Activated");
    EXPECT_EQ(f.cmdPause, "Pause Watch");
    EXPECT_EQ(f.StatusBar1[1].text, "Watching.");
    EXPECT_TRUE(app().Timer1.Enabled());
}

TEST_F(PauseControlTest, StartIsRefusedWithoutEntriesButTheToolbarShowsRunning)
{
    struct Case {
        bool empty;
        std::string message;
    };
    for (const auto& c : {Case{false, "No Drive/Path selected."}, Case{true, "No Drive/Path currently listed."}}) {
        SCOPED_TRACE(c.message);
        for (auto& e : app().ListView1.rows())
            e.watched = false;
        if (c.empty)
            app().ListView1.clear();
        app().form1.cmdPause = "Start Watch";
        app().Timer1.setEnabled(false);
        cmdPause_Click(app());
        EXPECT_EQ(h.dialogs.texts().back(), c.message);
        EXPECT_FALSE(app().Timer1.Enabled());
        EXPECT_EQ(app().form1.cmdPause, "Start Watch");
        EXPECT_EQ(app().form1.toolbarButton1Caption, "Pause");
    }
}

TEST_F(PauseControlTest, MenuItemKeepsToolbarAndCheckMarkInStep)
{
    mnuPause_Click(app());
    EXPECT_EQ(app().form1.toolbarButton1Caption, "Start");
    EXPECT_TRUE(app().form1.mnuPauseChecked);
    mnuPause_Click(app());
    EXPECT_EQ(app().form1.toolbarButton1Caption, "Pause");
    EXPECT_FALSE(app().form1.mnuPauseChecked);
    EXPECT_TRUE(app().Timer1.Enabled());
}

TEST_F(PauseControlTest, EqualStartAndEndMoveTheEndOneMinute)
{
    customWindow(DateTime::timeOfDay(23, 59), DateTime::timeOfDay(23, 59));
    at(12, 0);
    TimerCust_Timer(app());
    EXPECT_EQ(app().settings.DTTime1[1], DateTime::timeOfDay(0, 0)) << "the minute after 23:59 wraps to midnight";
}

TEST_F(PauseControlTest, StartAndEndMinutesToggleTheWatchAndTellTheUser)
{
    customWindow(DateTime::timeOfDay(8, 0), DateTime::timeOfDay(18, 0));
    cmdPause_Click(app());
    at(8, 0, 30);
    TimerCust_Timer(app());
    EXPECT_EQ(app().form1.cmdPause, "Pause Watch");
    EXPECT_TRUE(app().Timer1.Enabled());
    EXPECT_EQ(app().log.LVAlert()[0].action, "Volmara Started by Custom Watch Time: ");
    EXPECT_EQ(app().log.txtAlert().rfind("Volmara Started by Custom Watch Time: 2026-12-10 08:00:30\r\n.\r\n", 0), 0u);
    EXPECT_TRUE(app().dlgAlert.visible());

    at(18, 0, 10);
    TimerCust_Timer(app());
    EXPECT_EQ(app().form1.cmdPause, "Start Watch");
    EXPECT_FALSE(app().Timer1.Enabled());
    EXPECT_EQ(app().log.LVAlert()[0].action, "Volmara Paused by Custom Watch Time: ");
}

TEST_F(PauseControlTest, ManualPauseInsideTheWindowIsUndoneWithinAMinute)
{
    customWindow(DateTime::timeOfDay(8, 0), DateTime::timeOfDay(18, 0));
    at(12, 0);
    cmdPause_Click(app());
    ASSERT_FALSE(app().Timer1.Enabled());
    h.loop.advance(60000);
    EXPECT_TRUE(app().Timer1.Enabled());
    EXPECT_EQ(app().form1.cmdPause, "Start Watch") << "the caption waits for the next check";
}

TEST_F(PauseControlTest, WindowAcrossMidnightNeverSwitchesTheTimerOn)
{
    customWindow(DateTime::timeOfDay(22, 0), DateTime::timeOfDay(6, 0));
    for (const auto& t : {DateTime::timeOfDay(23, 30), DateTime::timeOfDay(2, 0), DateTime::timeOfDay(12, 0)}) {
        SCOPED_TRACE(t.hour);
        app().Timer1.setEnabled(false);
        at(t.hour, t.minute);
        TimerCust_Timer(app());
        EXPECT_FALSE(app().Timer1.Enabled());
    }
}

TEST_F(PauseControlTest, TraySummaryUnitsAndWideTotals)
{
    struct Case {
        std::vector<std::uint64_t> freeKb;
        std::string expected;
    };
    const std::vector<Case> cases{
        {{}, "0.0 Free. 0 onWatch. 0 Alert(s)."},
        {{1}, "0.0 Free. 1 onWatch. 0 Alert(s)."},
        {{999}, "999.0 KB Free. 1 onWatch. 0 Alert(s)."},
        {{1000}, "1.0 MB Free. 1 onWatch. 0 Alert(s)."},
        {{1234567, 1000000}, "2.2 GB Free. 2 onWatch. 0 Alert(s)."},
        {{2000000000, 2000000000, 2500000000}, "6.5 TB Free. 3 onWatch. 0 Alert(s)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        app().ListView1.clear();
        for (auto kb : c.freeKb)
            app().ListView1.append(watchEntry("/x/", true, std::to_string(kb) + " KB"));
        app().ListView1.append(watchEntry("/gone/", true, "N/A, drive not ready."));
        app().ListView1.append(watchEntry("/off/", false, "5000 KB"));
        EXPECT_EQ(traySummary(app()), c.expected);
    }
}

TEST_F(PauseControlTest, IntervalSteppersCarryAndWrap)
{
    struct Case {
        DateTime from;
        bool up;
        DateTime to;
    };
    using D = DateTime;
    for (const auto& c : {Case{D::timeOfDay(0, 0, 0), true, D::timeOfDay(0, 0, 10)},
                          Case{D::timeOfDay(0, 0, 50), true, D::timeOfDay(0, 1, 0)},
                          Case{D::timeOfDay(0, 59, 50), true, D::timeOfDay(1, 0, 0)},
                          Case{D::timeOfDay(23, 59, 50), true, D::timeOfDay(0, 0, 0)},
                          Case{D::timeOfDay(0, 1, 20), false, D::timeOfDay(0, 1, 10)},
                          Case{D::timeOfDay(0, 1, 5), false, D::timeOfDay(0, 1, 5)}}) {
        SCOPED_TRACE(defaultDateText(c.from));
        app().settings.DTPInterval = c.from;
        c.up ? intervalStepUp(app()) : intervalStepDown(app());
        EXPECT_EQ(app().settings.DTPInterval, c.to);
    }
}

} // namespace
} // namespace volmara::test
