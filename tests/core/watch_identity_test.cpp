// What the check writes goes to the entry it measured, whatever the list and the file systems
// did meanwhile; cells are read in the user's locale; a vanished mount is never taken for the
// drive below it.
#include "core/drive_enumeration.h"
#include "core/pause_control.h"
#include "core/statistics.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class WatchIdentityTest : public ::testing::Test {
protected:
    AppHarness h;

    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000); // short of a 50000 KB trigger
        h.volumes.add("/media/usb/", 700000, 800000);
        h.files.folders = {"/", "/data/", "/media/usb/"};
    }

    AppState& app() { return h.app(); }
    WatchEntry& byPath(const std::string& path)
    {
        for (auto& e : app().ListView1.rows())
            if (e.path == path)
                return e;
        throw std::runtime_error("no entry " + path);
    }
    void watchAll()
    {
        for (auto& e : app().ListView1.rows())
            e.watched = true;
    }
    void tick() { h.loop.advance(10000); }
};

TEST_F(WatchIdentityTest, HeaderClickWhileAMeasurementIsInFlightKeepsEachResultWithItsEntry)
{
    h.load();
    watchAll();
    h.io.hold = true;
    h.loop.advance(10000); // the check starts and waits on its measurements
    ASSERT_TRUE(h.model->cycle().checking());
    ASSERT_GT(h.io.heldCalls(), 0u);
    // The user sorts descending twice over while the drives are measured: rows change places.
    h.model->sortByColumn(0);
    h.model->sortByColumn(0);
    ASSERT_EQ(app().ListView1.at(0).path, "/media/usb/");
    h.io.hold = false;
    h.io.release();
    h.loop.runPending();
    ASSERT_FALSE(h.model->cycle().checking());

    EXPECT_EQ(byPath("/data/").icon, StatusIcon::Alert);
    EXPECT_EQ(byPath("/").icon, StatusIcon::Ok);
    EXPECT_EQ(byPath("/media/usb/").icon, StatusIcon::Ok);
    EXPECT_EQ(byPath("/data/").freeText, "30,000 KB");
    EXPECT_EQ(byPath("/media/usb/").freeText, "700,000 KB");
    ASSERT_FALSE(app().log.LVAlert().empty());
    EXPECT_NE(app().log.LVAlert()[0].action.find("Drive: /data["), std::string::npos);
    EXPECT_EQ(byPath("/data/").lastAlert, app().log.LVAlert()[0].action);
}

TEST_F(WatchIdentityTest, EntryRemovedWhileItIsMeasuredEndsTheCheckWithoutWritingElsewhere)
{
    h.load();
    watchAll();
    const auto before = app().ListView1.rows();
    h.io.hold = true;
    tick();
    // The first entry's measurement is in flight; the user removes that entry.
    app().ListView1.at(0).selected = true;
    h.model->removeSelected();
    h.io.hold = false;
    h.io.release();
    h.loop.runPending();

    ASSERT_FALSE(app().log.LVAlert().empty());
    EXPECT_EQ(app().log.LVAlert()[0].action, "Error: Index out of bounds");
    EXPECT_TRUE(app().Timer1.Enabled());
    for (const auto& e : app().ListView1.rows()) {
        SCOPED_TRACE(e.path);
        const auto& was = *std::find_if(before.begin(), before.end(), [&](const WatchEntry& b) { return b.id == e.id; });
        EXPECT_EQ(e.freeText, was.freeText);
        EXPECT_EQ(e.icon, was.icon);
        EXPECT_EQ(e.lastChecked, was.lastChecked);
    }
}

TEST_F(WatchIdentityTest, GroupedCellsAreReadInTheUsersLocale)
{
    h.make();
    // A German user: "." groups, "," is the decimal point.
    app().sv.locale = Locale{',', '.', "AM", "PM"};
    h.model->Form_Load();
    h.loop.runPending();
    EXPECT_EQ(byPath("/data/").freeText, "30.000 KB");
    watchAll();
    TimerCust_Timer(app());
    EXPECT_NE(app().form1.trayTip.find("1,6 GB Free. 3 onWatch."), std::string::npos) << app().form1.trayTip;

    // Free space falls by 1000 KB between two checks over a 10-second base: -100 KB/s.
    app().rateBase = 10;
    tick();
    h.volumes.mount("/data/").freeBytes -= 1000 * 1024;
    tick();
    EXPECT_EQ(app().form1.lblSpaceChangeRate, "-100");
}

TEST_F(WatchIdentityTest, VanishedMountStaysItsOwnDriveAndReportsOnce)
{
    h.load();
    auto& usb = byPath("/media/usb/");
    usb.watched = true;
    app().lstEvt[kEvtUnavailable] = true;
    tick();
    ASSERT_TRUE(byPath("/media/usb/").namedMountPoint);
    ASSERT_EQ(byPath("/media/usb/").icon, StatusIcon::Ok);

    // The stick is pulled: the path now lies on "/" as far as the mount table goes.
    std::erase_if(h.volumes.mounts, [](const auto& m) { return m.root == "/media/usb/"; });
    h.volumes.measured.clear();
    tick();
    tick();
    EXPECT_EQ(byPath("/media/usb/").icon, StatusIcon::None);
    int records = 0;
    for (const auto& r : app().log.LVAlert())
        records += r.action == "Drive Became Unavailable: /media/usb/" ? 1 : 0;
    EXPECT_EQ(records, 1);
    EXPECT_EQ(std::count(h.volumes.measured.begin(), h.volumes.measured.end(), "/media/usb/"), 0)
        << "the root file system was measured in its place";

    // A refresh keeps the path, shows it not ready, and the next save still names it.
    h.model->refreshDrives();
    h.loop.runPending();
    EXPECT_EQ(byPath("/media/usb/").path, "/media/usb/");
    EXPECT_EQ(byPath("/media/usb/").freeText, "N/A, drive not ready");
    EXPECT_EQ(app().form1.lstInfo.back(), "Drive: /media/usb\t\tN/A, drive not ready");

    // Back again: measured as its own drive.
    h.volumes.add("/media/usb/", 600000, 800000);
    h.model->refreshDrives();
    h.loop.runPending();
    EXPECT_EQ(byPath("/media/usb/").freeText, "600,000 KB");
}

TEST_F(WatchIdentityTest, FstabMountPointThatIsNotMountedIsNeverTheDriveBelow)
{
    h.volumes.fstab.insert("/mnt/backup/");
    h.load();
    app().ListView1.append(watchEntry("/mnt/backup/", true));
    tick();
    EXPECT_EQ(byPath("/mnt/backup/").icon, StatusIcon::None);
    EXPECT_EQ(byPath("/mnt/backup/").lastChecked, "") << "not ready, so not checked";
}

TEST_F(WatchIdentityTest, RefreshGivesNotReadyTextsWhenTheDriveDoesNotAnswer)
{
    h.load();
    h.io.hang("/media/usb/");
    h.model->refreshDrives();
    h.loop.runPending();
    EXPECT_EQ(byPath("/media/usb/").freeText, "N/A, drive not ready");
    EXPECT_EQ(byPath("/media/usb/").totalText, "");
    for (const auto& r : app().log.LVAlert())
        EXPECT_EQ(r.action.find("Folder/Path inaccessible: "), std::string::npos) << r.action;
    EXPECT_EQ(byPath("/data/").freeText, "30,000 KB") << "the other drives are still measured";
}

TEST_F(WatchIdentityTest, ClearedIconIsPublished)
{
    h.load();
    byPath("/").watched = true;
    tick();
    ASSERT_EQ(byPath("/").icon, StatusIcon::Ok);
    byPath("/").watched = false;
    int published = 0;
    app().ListView1.subscribe([&] { published += byPath("/").icon == StatusIcon::None ? 1 : 0; });
    tick();
    EXPECT_EQ(byPath("/").icon, StatusIcon::None);
    EXPECT_GT(published, 0);
}

TEST_F(WatchIdentityTest, DeadFileSystemReadsNotReadyWhileTheOthersAreChecked)
{
    h.load();
    watchAll();
    h.io.hang("/media/usb/");
    tick();
    EXPECT_EQ(byPath("/media/usb/").icon, StatusIcon::None);
    EXPECT_EQ(byPath("/data/").icon, StatusIcon::Alert);
    EXPECT_EQ(byPath("/").icon, StatusIcon::Ok);
    // While the abandoned call hangs, later checks do not ask that file system again.
    const auto calls = h.io.submitted;
    tick();
    EXPECT_EQ(std::count(h.io.keys.begin() + calls, h.io.keys.end(), "/media/usb/"), 0);
    h.io.recover("/media/usb/");
    tick();
    EXPECT_EQ(byPath("/media/usb/").icon, StatusIcon::Ok);
}

} // namespace
} // namespace volmara::test
