#include "alerts/activity_log.h"
#include "core/watch_entry.h"
#include "fakes/fake_files.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class ActivityLogTest : public ::testing::Test {
protected:
    FakeFiles files;
    int autoSave = 0;
    ActivityLog log{files, autoSave};
    int trayAlerts = 0;
    const std::string path = "/opt/volmara/log.dat";

    void SetUp() override
    {
        log.setLogPath(path);
        log.onTrayAlert = [this] { ++trayAlerts; };
    }
};

TEST_F(ActivityLogTest, RepeatOfAnEntrysFirstTextIsSuppressed)
{
    WatchEntry entry;
    log.prcAlertInfo("t1", "High", "first", 0, &entry);
    log.prcAlertInfo("t2", "High", "first", 0, &entry);
    log.prcAlertInfo("t3", "High", "other", 0, &entry);
    log.prcAlertInfo("t4", "High", "other", 0, &entry);
    log.prcAlertInfo("t5", "High", "first", 0, nullptr);
    EXPECT_EQ(entry.lastAlert, "first") << "the field keeps the first text for good";
    ASSERT_EQ(log.LVAlert().size(), 4u);
    EXPECT_EQ(log.LVAlert()[0], (AlertRow{"High", "t5", "first"})) << "newest first";
    EXPECT_EQ(log.LVAlert()[1].time, "t4");
    EXPECT_EQ(log.LVAlert()[3].time, "t1");
    EXPECT_EQ(log.g_lngAlerts(), 4);
}

TEST_F(ActivityLogTest, RatingCountsAndTraySignal)
{
    struct Case {
        std::string level;
        std::int16_t notify;
        int high;
        int tray;
    };
    for (const auto& c : {Case{"High", 0, 1, 1}, Case{"high", 0, 0, 1}, Case{"Medium", 0, 0, 0}, Case{"Medium", 1, 0, 1}}) {
        SCOPED_TRACE(c.level + " " + std::to_string(c.notify));
        FakeFiles f;
        int save = 0;
        ActivityLog l(f, save);
        int tray = 0;
        l.onTrayAlert = [&] { ++tray; };
        l.prcAlertInfo("t", c.level, "x", c.notify, nullptr);
        EXPECT_EQ(l.g_lngHighAlerts(), c.high);
        EXPECT_EQ(tray, c.tray);
        EXPECT_EQ(l.g_lngAlerts(), 1);
    }
}

TEST_F(ActivityLogTest, RecordLinesJoinOnlyAnExistingLogWhileAutoSaveIsOn)
{
    log.prcAlertInfo("t1", "High", "before auto-save", 0, nullptr);
    autoSave = 1;
    log.prcAlertInfo("t2", "High", "file absent", 0, nullptr);
    EXPECT_FALSE(files.fileExists(path));

    log.prependAlert("message\r\n.\r\n");
    log.saveNewLogText();
    EXPECT_EQ(files.files[path], "message\r\n.\r\n\r\n");

    log.prcAlertInfo("20261210 09:30", "Medium", "now logged", 0, nullptr);
    EXPECT_EQ(files.files[path], "message\r\n.\r\n\r\n20261210 09:30 | Medium | now logged\r\n");
}

TEST_F(ActivityLogTest, EndOfCycleSaveWritesOnlyTheNewTopAndClearKeepsTheMarker)
{
    autoSave = 1;
    log.prependAlert(std::string(500, 'a'));
    log.saveNewLogText();
    EXPECT_EQ(log.savedLength(), 500);
    log.saveNewLogText();
    EXPECT_EQ(files.files[path].size(), 502u) << "nothing new, nothing written";

    log.clear();
    log.prependAlert(std::string(300, 'b'));
    log.saveNewLogText();
    EXPECT_EQ(files.files[path].size(), 502u) << "300 characters after a clear stay below the old marker";

    log.prependAlert(std::string(250, 'c'));
    log.saveNewLogText();
    EXPECT_EQ(files.files[path].substr(502), std::string(50, 'c') + "\r\n");
    EXPECT_EQ(log.savedLength(), 550);
}

TEST_F(ActivityLogTest, LimitRemovesTheOldestRows)
{
    for (int i = 1; i <= 80; ++i)
        log.prcAlertInfo(std::to_string(i), "Medium", "row", 0, nullptr);
    log.prcLVLimit(50);
    ASSERT_EQ(log.LVAlert().size(), 50u);
    EXPECT_EQ(log.LVAlert().front().time, "80");
    EXPECT_EQ(log.LVAlert().back().time, "31");
    log.prcLVLimit(-1);
    EXPECT_TRUE(log.LVAlert().empty());
}

TEST_F(ActivityLogTest, FileErrorReachesTheCallerAfterTheRowIsListed)
{
    autoSave = 1;
    files.files[path] = "";
    files.failWritesAfter = 0;
    EXPECT_THROW(log.prcAlertInfo("t", "High", "x", 0, nullptr), Error);
    EXPECT_EQ(log.LVAlert().size(), 1u);
}

} // namespace
} // namespace volmara::test
