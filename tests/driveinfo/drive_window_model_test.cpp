#include "driveinfo/drive_window_model.h"
#include "fakes/app_harness.h"
#include "recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace volmara::test {
namespace {

using testing::DrawCall;
using testing::RecordingSurface;

constexpr std::string_view kGoAhead = "This will set the program to watch the drive/path by a individual values. Go ahead?";
constexpr std::string_view kImproper = "You have an improper value in the Set Minimum Space Text Box.";

// Two drives: "/" 45 % free, "/data/" 25 % free with 12 files and 3 folders.
class DriveWindowTest : public ::testing::Test {
protected:
    AppHarness h;
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 250000, 1000000);
        h.files.folders = {"/", "/data/"};
        h.files.counts["/data/"] = FolderCounts{12, 3};
        h.load();
        ASSERT_EQ(app().ListView1.size(), 2u);
        ASSERT_EQ(app().ListView1.at(1).path, "/data/");
    }
    AppState& app() { return h.app(); }
    DriveWindowModel& window() { return app().frmIndDri; }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }

    void select(std::size_t index)
    {
        for (auto& entry : app().ListView1.rows())
            entry.selected = false;
        app().ListView1.at(index).selected = true;
    }
    // "Select Drive" over row `index`, with the answers of the workers in.
    void open(std::size_t index)
    {
        select(index);
        h.model->openDriveWindow();
        h.loop.runPending();
    }
    std::vector<std::string> segmentNames()
    {
        std::vector<std::string> names;
        for (const auto& segment : window().pie().segments())
            names.push_back(segment.name);
        return names;
    }
};

TEST_F(DriveWindowTest, WithoutASelectedEntryItSaysSoInsteadOfOpening)
{
    h.model->openDriveWindow();
    EXPECT_EQ(lastMessage(), "No Drive/Path selected.");
    EXPECT_FALSE(window().visible());

    app().ListView1.clear();
    h.model->openDriveWindow();
    EXPECT_EQ(h.dialogs.texts().size(), 2u);
    EXPECT_FALSE(window().visible());
    EXPECT_FALSE(window().Timer1.Enabled());
}

TEST_F(DriveWindowTest, OpensForTheSelectedEntryAndDrawsItsDrive)
{
    open(1);
    const DriveWindowModel& w = window();
    EXPECT_TRUE(w.visible());
    EXPECT_TRUE(w.Timer1.Enabled());
    EXPECT_EQ(w.Combo1(), "/data/");
    EXPECT_EQ(w.entryId(), app().ListView1.at(1).id);
    EXPECT_EQ(w.ListView1(), (std::vector<PropertyRow>{
                                 {"Size", "1,000,000 KB"}, {"Free Space", "250,000 KB"}, {"Folders", "3"}, {"Files", "12"}}));
    EXPECT_EQ(w.g_lngTotal(), 1000000);
    EXPECT_EQ(w.ProgressBar1(), (std::array<int, 2>{25, 25}));
    // The global 50000 KB of 1,000,000: 5 % of the slider and of VMeter1; 25 % free on VMeter2.
    EXPECT_EQ(w.Option1(), 0);
    EXPECT_EQ(w.Text1(), "50000");
    EXPECT_EQ(w.VScroll1(), 95);
    EXPECT_EQ(w.VMeter1().Value(), 48);
    EXPECT_EQ(w.VMeter2().Value(), 38);
    EXPECT_EQ(w.VMeter2().Label1(), "24%");

    EXPECT_EQ(w.Caption(), "Drive Settings - Zembrik Volmara - /data/");
    EXPECT_FALSE(w.lblPVisible());
    EXPECT_EQ(segmentNames(), (std::vector<std::string>{"Free", "Used"}));
    EXPECT_EQ(w.pieTitle(), "25.0% Free");
    EXPECT_EQ(w.pieSubKey(), "Total(1,024,000,000)");
    RecordingSurface surface;
    EXPECT_EQ(w.drawPie(surface), clsPie::kDrawn);
    EXPECT_EQ(surface.calls[1], testing::textCall(145, 52, "Free(256,000,000)"));
    EXPECT_EQ(surface.calls[2], testing::pieCall(360, kFreeColour));
    EXPECT_EQ(surface.calls[4], testing::textCall(145, 67, "Used(768,000,000)"));
    EXPECT_EQ(surface.calls[5], testing::pieCall(270, kUsedColour));
}

TEST_F(DriveWindowTest, TheMeasurementIsAwaitedAndOnlyTheLatestEntryIsDrawn)
{
    h.io.hold = true;
    open(1);
    EXPECT_TRUE(window().visible());
    EXPECT_TRUE(window().lblPVisible()) << "Loading... while the first refresh is pending";
    EXPECT_EQ(window().Caption(), "Drive Settings - Zembrik Volmara");
    RecordingSurface surface;
    EXPECT_EQ(window().drawPie(surface), clsPie::kFailed);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_EQ(window().ListView1()[2].value, "");

    open(0); // another entry while the first is still being measured
    h.io.release();
    h.loop.runPending();
    EXPECT_EQ(window().Combo1(), "/");
    EXPECT_EQ(window().Caption(), "Drive Settings - Zembrik Volmara - /");
    EXPECT_EQ(window().pieTitle(), "45.0% Free");
    EXPECT_EQ(window().ListView1()[2].value, "0");
    EXPECT_FALSE(window().lblPVisible());
}

TEST_F(DriveWindowTest, TheTimerRefreshesThePieFromTheDrive)
{
    struct Case {
        std::uint64_t freeKb;
        bool ready;
        std::vector<std::string> segments;
        std::string title;
        std::string subKey;
    };
    open(1);
    for (const auto& c : {Case{500000, true, {"Free", "Used"}, "50.0% Free", "Total(1,024,000,000)"},
                          Case{0, true, {"Media Full"}, ".0% Free", "Total(1,024,000,000)"},
                          Case{250000, false, {"No Media"}, ".0% Free", "Total()"}}) {
        SCOPED_TRACE(c.title + (c.ready ? "" : " not ready"));
        h.volumes.mount("/data/").freeBytes = c.freeKb * 1024;
        h.volumes.mount("/data/").ready = c.ready;
        h.loop.advance(DriveWindowModel::kRefreshMs);
        EXPECT_EQ(segmentNames(), c.segments);
        EXPECT_EQ(window().pieTitle(), c.title);
        EXPECT_EQ(window().pieSubKey(), c.subKey);
        for (const auto& segment : window().pie().segments())
            EXPECT_EQ(segment.colour, segment.name == "Free" ? kFreeColour : kUsedColour);
        RecordingSurface surface;
        EXPECT_EQ(window().drawPie(surface), clsPie::kDrawn);
    }
    EXPECT_DOUBLE_EQ(window().usedBytes(), 0);
}

TEST_F(DriveWindowTest, HiddenWindowStopsItsTimerAtTheNextTick)
{
    open(1);
    window().cmdC_Click();
    EXPECT_FALSE(window().visible());
    EXPECT_TRUE(window().Timer1.Enabled());
    const auto measuredData = [&] { return std::count(h.volumes.measured.begin(), h.volumes.measured.end(), "/data/"); };
    const auto before = measuredData();
    h.loop.advance(DriveWindowModel::kRefreshMs);
    EXPECT_FALSE(window().Timer1.Enabled());
    EXPECT_EQ(measuredData(), before) << "a hidden window measures nothing";

    open(1);
    window().Check1_Click(0);
    EXPECT_FALSE(window().Timer1.Enabled());
    window().Check1_Click(1);
    EXPECT_TRUE(window().Timer1.Enabled());

    // Closing unloads: the next show says Loading... again until its refresh is in.
    window().Form_Unload();
    EXPECT_FALSE(window().Timer1.Enabled());
    EXPECT_FALSE(window().lblPVisible());
    h.io.hold = true;
    open(1);
    EXPECT_TRUE(window().lblPVisible());
    h.io.release();
    h.loop.runPending();
    EXPECT_FALSE(window().lblPVisible());
}

TEST_F(DriveWindowTest, FillArithmetic)
{
    struct Case {
        double total, free;
        std::int64_t trigger;
        bool percent;
        int slider, bar;
        std::int16_t meter1, meter2;
    };
    for (const auto& c : {
             Case{1000, 250, 100, false, 90, 25, 45, 38},   // 37.5 rounds to the even 38
             Case{8, 4, 1, false, 88, 50, 44, 25},          // 87.5 to 88, 43.75 to 44
             Case{1000, 500, 25, true, 75, 50, 38, 25},     // a percentage stays one
             Case{100, 100, 300, false, 0, 100, 0, 0},      // a trigger above the total fills the bar
             Case{0, 0, 50, false, 100, 0, 50, 50},         // no figures: empty shares
         }) {
        SCOPED_TRACE(std::to_string(c.trigger) + (c.percent ? " %" : " KB") + " of " + std::to_string(c.total));
        const DriveWindowFill fill = fillFor(c.total, c.free, c.trigger, c.percent);
        EXPECT_EQ(fill.VScroll1, c.slider);
        EXPECT_EQ(fill.Text1, std::to_string(c.trigger));
        EXPECT_EQ(fill.Option1, c.percent ? 1 : 0);
        EXPECT_EQ(fill.ProgressBar, c.bar);
        EXPECT_EQ(fill.VMeter1, c.meter1);
        EXPECT_EQ(fill.VMeter2, c.meter2);
    }
}

TEST_F(DriveWindowTest, SliderArithmetic)
{
    struct Case {
        int position;
        int option;
        std::int16_t meter1;
        int bar;
        std::string text;
    };
    open(1);
    for (const auto& c : {Case{25, 0, 12, 75, "750000"}, Case{27, 0, 14, 73, "730000"}, Case{100, 0, 50, 0, ""},
                          Case{0, 1, 0, 100, "100"}, Case{30, 1, 15, 70, "70"}}) {
        SCOPED_TRACE(c.position);
        window().Option1_Click(c.option);
        window().VScroll1_Change(c.position);
        EXPECT_EQ(window().VScroll1(), c.position);
        EXPECT_EQ(window().VMeter1().Value(), c.meter1);
        EXPECT_EQ(window().ProgressBar1()[0], c.bar);
        EXPECT_EQ(window().Text1(), c.text);
    }
    window().VScroll1_Change(0);
    EXPECT_EQ(window().VMeter1().level(), 50) << "the top lights all of VMeter1";
    EXPECT_EQ(sliderText(50, 0, 3), "2") << "1.5 KB rounds to even";
}

TEST_F(DriveWindowTest, TheUnitChoiceConvertsText1)
{
    open(1);
    window().Text1_Change("250000");
    window().Option1_Click(1);
    EXPECT_EQ(window().Text1(), "25");
    EXPECT_EQ(window().VScroll1(), 75);
    EXPECT_EQ(window().VMeter1().Value(), 38);
    window().Text1_Change("40");
    window().Option1_Click(0);
    EXPECT_EQ(window().Text1(), "400000");
    EXPECT_EQ(window().VScroll1(), 60);

    // A percentage trigger of the main window is shown as one.
    h.model->setTriggerUnit(1);
    h.model->setSlider(30);
    open(1);
    EXPECT_EQ(window().Option1(), 1);
    EXPECT_EQ(window().Text1(), "30");
    EXPECT_EQ(window().VScroll1(), 70);
    EXPECT_EQ(window().VMeter1().Value(), 35);
}

TEST_F(DriveWindowTest, ApplySetsTheEntryItWasOpenedForAmongTwoOfTheSameText)
{
    WatchEntry twin = app().ListView1.at(1);
    twin.selected = false;
    const auto twinId = app().ListView1.append(twin).id;
    open(1);
    const auto id = app().ListView1.at(1).id;
    app().ListView1.sortByColumn(WatchList::DrivePath);
    app().ListView1.sortByColumn(WatchList::DrivePath); // descending: the entry moved
    // Its row and the last row of its text now hold the twin: neither may decide.
    ASSERT_EQ(app().ListView1.at(1).id, twinId);
    ASSERT_EQ(app().ListView1.at(0).id, id);
    window().Check1_Click(0);
    window().Text1_Change("1234");

    h.dialogs.answers.push_back(MsgAnswer::No);
    window().Command3_Click();
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), kGoAhead);
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Question);
    EXPECT_EQ(app().form1.chkDrive, 0);
    EXPECT_TRUE(window().Timer1.Enabled()) << "the timer hold helper starts the window's refresh";

    window().Command3_Click(); // Yes
    h.loop.runPending();
    EXPECT_EQ(app().form1.chkDrive, 1);
    for (const auto& entry : app().ListView1.rows())
        EXPECT_EQ(entry.triggerText, entry.id == id ? "1234" : "50000") << entry.path << " #" << entry.id;

    // With the switch on nothing is asked, and the others go back to the global number.
    app().ListView1.byId(twinId).triggerText = "99";
    const auto asked = h.dialogs.shown.size();
    window().Text1_Change("777");
    window().Command3_Click();
    h.loop.runPending();
    for (const auto& shown : std::vector(h.dialogs.shown.begin() + static_cast<std::ptrdiff_t>(asked), h.dialogs.shown.end()))
        EXPECT_NE(shown.text, kGoAhead);
    for (const auto& entry : app().ListView1.rows())
        EXPECT_EQ(entry.triggerText, entry.id == id ? "777" : "50000");
}

TEST_F(DriveWindowTest, ApplyRefusesAnImproperValue)
{
    open(1);
    for (const std::string text : {"", "lots"}) {
        SCOPED_TRACE(text);
        const int focus = window().text1FocusRequests();
        window().Text1_Change(text);
        window().Command3_Click();
        h.loop.runPending();
        EXPECT_EQ(lastMessage(), kImproper);
        EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Information);
        EXPECT_EQ(window().text1FocusRequests(), focus + 1);
        EXPECT_EQ(app().form1.chkDrive, 0);
        EXPECT_EQ(app().ListView1.at(1).triggerText, "");
    }
}

TEST_F(DriveWindowTest, ApplyWritesTheTriggerInTheMainWindowsUnit)
{
    h.model->setPerEntryTriggers(true);
    open(1);
    window().Option1_Click(1);
    window().VScroll1_Change(75);
    ASSERT_EQ(window().Text1(), "25");
    window().Command3_Click();
    h.loop.runPending();
    EXPECT_EQ(app().ListView1.at(1).triggerText, "250000") << "25 % of 1,000,000 KB, for a main window in KB";
}

TEST_F(DriveWindowTest, ANotReadyEntryLeavesThePreviousContents)
{
    open(1);
    app().ListView1.at(0).freeText = std::string(kNotReadyEnumerated);
    open(0);
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(window().Combo1(), "/data/");
    EXPECT_EQ(window().entryId(), app().ListView1.at(1).id);
    EXPECT_EQ(window().ListView1()[0].value, "1,000,000 KB");
}

TEST_F(DriveWindowTest, ToggleSwitchesBetweenTallAndShort)
{
    EXPECT_EQ(window().Height(), DriveWindowModel::kTallHeight);
    window().cmdToggle_Click();
    EXPECT_EQ(window().Height(), DriveWindowModel::kShortHeight);
    window().cmdToggle_Click();
    EXPECT_EQ(window().Height(), DriveWindowModel::kTallHeight);
}

} // namespace
} // namespace volmara::test
