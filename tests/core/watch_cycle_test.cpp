#include "core/pause_control.h"
#include "core/settings_file.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

#include <new>

namespace volmara::test {
namespace {

class WatchCycleTest : public ::testing::Test {
protected:
    AppHarness h;

    // Two drives: "/" with plenty of room, "/data/" short of space for a 50000 KB trigger.
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/"};
        h.files.counts["/data/"] = FolderCounts{3, 1};
    }

    AppState& app() { return h.app(); }
    std::string panel(int i) { return app().form1.StatusBar1[static_cast<std::size_t>(i)].text; }
    WatchEntry& entry(std::size_t i) { return app().ListView1.at(i); }

    void watchAll()
    {
        for (auto& e : app().ListView1.rows())
            e.watched = true;
    }
    // One tick of the 10-second watch timer.
    void tick() { h.loop.advance(10000); }
};

TEST_F(WatchCycleTest, StartUpCheckPutsTheFallbacksInPlace)
{
    h.load();
    EXPECT_EQ(app().checksDone, 1);
    EXPECT_EQ(app().settings.txtDrive, "/");
    EXPECT_EQ(app().settings.txtSpace, "50000");
    EXPECT_EQ(app().form1.cmdPause, "Pause Watch");
    EXPECT_EQ(app().Timer1.Interval(), 10000);
    EXPECT_TRUE(app().Timer1.Enabled());
    EXPECT_EQ(app().form1.lblSpaceChangeRate, "N/A");
    // The load's fix-up leaves "5"; the picker still reads 00:00:00.
    EXPECT_EQ(app().settings.txtTime, "5");
    EXPECT_EQ(panel(2), "Times Checked: 1");
}

TEST_F(WatchCycleTest, ChecksComeCeilOfIntervalOverTenPlusOneTicksApart)
{
    struct Case {
        int seconds;
        int ticksApart;
    };
    for (const auto c : {Case{0, 1}, Case{10, 2}, Case{31, 5}, Case{60, 7}}) {
        SCOPED_TRACE(c.seconds);
        AppHarness local;
        local.volumes.add("/", 900000, 2000000);
        local.load();
        auto& a = local.app();
        a.settings.DTPInterval = DateTime::timeOfDay(0, c.seconds / 60, c.seconds % 60);
        const auto before = a.checksDone;
        int ticks = 0;
        while (a.checksDone == before && ticks < 20) {
            local.loop.advance(10000);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticksApart);
    }
}

TEST_F(WatchCycleTest, CountdownOf31SecondsShows31211101ThenChecks)
{
    h.load();
    app().settings.DTPInterval = DateTime::timeOfDay(0, 0, 31);
    std::vector<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        tick();
        shown.push_back(panel(0));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Ready. Check in: 31 (sec.)", "Ready. Check in: 21 (sec.)",
                                               "Ready. Check in: 11 (sec.)", "Ready. Check in: 1 (sec.)"}));
    tick();
    EXPECT_EQ(app().checksDone, 2);
    EXPECT_EQ(panel(0), "Ready. Check in 31 (sec.)");
    EXPECT_EQ(panel(1).rfind("Checked: ", 0), 0u);
}

TEST_F(WatchCycleTest, ShortEntryIsAlertedOnceWithTheExactTextAndRepeatIsSuppressed)
{
    h.load();
    watchAll();
    tick();
    ASSERT_EQ(app().checksDone, 2);
    EXPECT_EQ(entry(0).icon, StatusIcon::Ok);
    EXPECT_EQ(entry(1).icon, StatusIcon::Alert);
    const auto& rows = app().log.LVAlert();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "High");
    EXPECT_EQ(rows[0].time, "20261210 09:30");
    EXPECT_EQ(rows[0].action, " - ALERT: Space Shortage < 50000 KB Drive: /data[30,000 KB]");
    EXPECT_EQ(app().log.txtAlert(), "12/10/26 09:30:10 - ALERT: Space Shortage < 50000 KB Drive: /data[30,000 KB]\r\n . \r\n");
    EXPECT_EQ(app().dlgAlert.Label1(), app().log.txtAlert());

    tick(); // same shortage, same text: suppressed in the list, still prefixed to the text
    EXPECT_EQ(app().log.LVAlert().size(), 1u);
    EXPECT_EQ(app().log.g_lngAlerts(), 1);
    EXPECT_EQ(entry(1).icon, StatusIcon::Alert);
}

TEST_F(WatchCycleTest, FreeSpaceEqualToTheTriggerIsNotShort)
{
    h.load();
    watchAll();
    app().settings.txtSpace = "30000";
    tick();
    EXPECT_EQ(entry(1).icon, StatusIcon::Ok);
    EXPECT_TRUE(app().log.LVAlert().empty());
}

TEST_F(WatchCycleTest, PercentTriggerComesFromEachEntrysOwnTotal)
{
    h.load();
    watchAll();
    h.model->setTriggerUnit(1);
    h.model->setSlider(50); // 50 % of 2,000,000 = 1,000,000 and of 1,000,000 = 500,000
    tick();
    ASSERT_EQ(app().log.LVAlert().size(), 2u);
    EXPECT_EQ(app().log.LVAlert()[1].action, " - ALERT: Space Shortage < 1000000 KB Drive: /[900,000 KB]");
    EXPECT_EQ(app().log.LVAlert()[0].action, " - ALERT: Space Shortage < 500000 KB Drive: /data[30,000 KB]");
}

TEST_F(WatchCycleTest, PerEntryPercentOver100StopsTheLoopWithAMessage)
{
    h.load();
    watchAll();
    h.model->setTriggerUnit(1);
    h.model->setPerEntryTriggers(true);
    entry(0).triggerText = "150";
    entry(1).triggerText = "10";
    tick();
    EXPECT_EQ(h.dialogs.texts().back(), "Cannot check over 100% of space");
    EXPECT_TRUE(entry(1).lastChecked.empty()) << "the entry after the stop is not checked";
    EXPECT_EQ(app().checksDone, 2) << "the check itself still ends normally";
    EXPECT_TRUE(app().Timer1.Enabled());
}

TEST_F(WatchCycleTest, FallbacksHoldForTheRestOfTheCheck)
{
    h.load();
    watchAll();
    app().settings.txtSpace = "lots";
    app().settings.txtDrive.clear();
    app().settings.DTPInterval = DateTime::timeOfDay(0, 1, 15); // 75 s
    app().elapsedMs = 75000;
    tick();
    EXPECT_EQ(app().settings.txtSpace, "50000");
    EXPECT_EQ(app().settings.txtDrive, "/");
    EXPECT_EQ(panel(0), "Ready. Check in 65 (sec.)");
}

TEST_F(WatchCycleTest, UnreachableEntryIsRecordedOncePerDisappearance)
{
    h.load();
    app().lstEvt[kEvtUnavailable] = true;
    watchAll();
    tick();
    h.volumes.mount("/data/").ready = false;
    tick();
    tick();
    auto unavailable = [&] {
        int n = 0;
        for (const auto& r : app().log.LVAlert())
            n += r.action == "Drive Became Unavailable: /data/" ? 1 : 0;
        return n;
    };
    EXPECT_EQ(unavailable(), 1);
    EXPECT_EQ(entry(1).icon, StatusIcon::None);
    EXPECT_EQ(panel(0).rfind("Ready.", 0), 0u);

    // Back and measured, then gone again: the second record is written unless it was the
    // entry's first record ever (here the shortage alert was first, so it is written).
    h.volumes.mount("/data/").ready = true;
    tick();
    h.volumes.mount("/data/").ready = false;
    tick();
    EXPECT_EQ(unavailable(), 2);
}

TEST_F(WatchCycleTest, EntryWithoutADriveEndsTheCheckWithTheTimerOn)
{
    h.load();
    app().ListView1.rows().insert(app().ListView1.rows().begin(), watchEntry("relative/path", true));
    watchAll();
    tick();
    ASSERT_FALSE(app().log.LVAlert().empty());
    EXPECT_EQ(app().log.LVAlert()[0].action, "Error: Invalid procedure call or argument");
    EXPECT_TRUE(entry(2).lastChecked.empty()) << "entries after the failing one are not checked";
    EXPECT_TRUE(app().Timer1.Enabled());
    EXPECT_EQ(app().checksDone, 1) << "the failed check is not counted";
}

TEST_F(WatchCycleTest, OtherErrorRestartsTheTickAndGivesUpAfterThree)
{
    h.load();
    watchAll();
    h.model->setPerEntryTriggers(true);
    entry(0).triggerText = "not a number";

    // With an interval the restart shows the countdown and ends, the watch running.
    app().settings.DTPInterval = DateTime::timeOfDay(0, 0, 30);
    app().elapsedMs = 30000;
    tick();
    ASSERT_EQ(app().log.LVAlert().size(), 1u);
    EXPECT_EQ(app().log.LVAlert()[0].action, "Error: Type mismatch");
    EXPECT_EQ(panel(0), "Ready. Check in: 30 (sec.)");
    EXPECT_TRUE(app().Timer1.Enabled());

    // With no interval every restart checks again: the third error gives up with a message.
    app().settings.DTPInterval = DateTime::timeOfDay(0, 0, 0);
    app().log.clear();
    tick();
    std::vector<std::string> actions;
    for (const auto& r : app().log.LVAlert())
        actions.push_back(r.action);
    EXPECT_EQ(actions, (std::vector<std::string>{"Program Run Time Error: ", "Error: Type mismatch",
                                                 "Error: Type mismatch", "Error: Type mismatch"}));
    EXPECT_EQ(h.dialogs.texts().back(), "Please check your settings for errors");
    EXPECT_TRUE(app().Timer1.Enabled());
}

TEST_F(WatchCycleTest, RowRemovedDuringAYieldEndsTheTick)
{
    h.load();
    watchAll();
    bool removed = false;
    app().form1.subscribe([&] {
        if (!removed && panel(0) == "Checking: /") {
            removed = true;
            h.loop.post([&] {
                entry(1).selected = true;
                h.model->removeSelected();
            });
        }
    });
    tick();
    ASSERT_TRUE(removed);
    ASSERT_FALSE(app().log.LVAlert().empty());
    EXPECT_EQ(app().log.LVAlert()[0].action, "Error: Index out of bounds");
    EXPECT_TRUE(app().Timer1.Enabled());
}

class OutOfMemoryVolumes final : public FakeVolumes {
public:
    DriveLocation locate(std::string_view path) override
    {
        if (failing)
            throw std::bad_alloc();
        return FakeVolumes::locate(path);
    }
    bool failing = false;
};

TEST(WatchCycleOutOfMemory, ShowsTheMessageAndLeavesTheWatchOff)
{
    ManualEventLoop loop;
    ManualIo io(loop);
    ManualClock clock;
    clock.follow(loop);
    ScriptedDialogs dialogs(loop);
    OutOfMemoryVolumes volumes;
    volumes.add("/", 100, 1000);
    FakeFiles files;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    FakeShell shell;
    FakeTrash trash;
    FakeNetwork network;
    FakeSystemInfo systemInfo;
    FakeSound sound;
    FakeHttp http;
    FakeRegistry registry;
    PosixPathRules paths(volumes);
    Form1Model model(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell, trash, network, systemInfo, sound, http, registry, paths, Locale{},
                              "/opt/volmara", "/home/user"});
    model.Form_Load();
    loop.runPending();
    model.app().ListView1.at(0).watched = true;
    volumes.failing = true;
    loop.advance(10000);
    EXPECT_EQ(dialogs.texts().back(), "Not enough memory for the task, quit program(s) or free up Memory");
    EXPECT_EQ(dialogs.shown.back().icon, MsgIcon::Critical);
    EXPECT_FALSE(model.app().Timer1.Enabled());
}

TEST_F(WatchCycleTest, TickDuringASuspendedCheckDoesNothing)
{
    h.load();
    watchAll();
    h.model->setTriggerUnit(1);
    h.model->setPerEntryTriggers(true);
    entry(0).triggerText = "150";
    h.dialogs.holdAnswers = true;
    tick(); // the check now waits on "Cannot check over 100% of space"
    ASSERT_TRUE(h.model->cycle().checking());
    timerHold(app()); // a prompt elsewhere switches the watch timer back on
    h.loop.advance(30000);
    EXPECT_EQ(h.dialogs.held.size(), 1u) << "no second check started inside the first";
    EXPECT_EQ(app().checksDone, 1);
    h.dialogs.releaseOne();
    h.loop.runPending();
    EXPECT_FALSE(h.model->cycle().checking());
    EXPECT_EQ(app().checksDone, 2);
}

TEST_F(WatchCycleTest, EndOfCheckSavesSettingsAndNewLogText)
{
    h.load();
    watchAll();
    app().form1.chkSaveSet = 1;
    app().settings.chkAutoSave = 1;
    app().form1.chkLogTimeMon = 1;
    tick();
    EXPECT_NE(h.setDat().find("path=/data/\r\n"), std::string::npos);
    const auto log = h.logDat();
    EXPECT_EQ(log, app().log.txtAlert() + "\r\n") << "the file was absent: records skipped, the block creates it";
    EXPECT_EQ(app().log.savedLength(), static_cast<std::int64_t>(app().log.txtAlert().size()));
    EXPECT_EQ(app().log.LVAlert()[0].level, "Medium");
    EXPECT_EQ(app().log.LVAlert()[0].action.rfind("Checked: ", 0), 0u);
}

} // namespace
} // namespace volmara::test
