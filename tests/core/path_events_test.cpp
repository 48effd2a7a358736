// The change events of a watched entry over successive checks.
#include "core/path_events.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class PathEventsTest : public ::testing::Test {
protected:
    AppHarness h;

    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 800000, 1000000);
        h.files.folders = {"/", "/data/"};
        h.files.counts["/data/"] = FolderCounts{3, 1};
    }
    AppState& app() { return h.app(); }
    // A first run ticks the home drive "/"; these tests watch "/data/" alone.
    void load()
    {
        h.load();
        app().ListView1.at(0).watched = false;
    }
    WatchEntry& data() { return app().ListView1.at(1); }
    void tick() { h.loop.advance(10000); }
    std::vector<std::string> eventRecords()
    {
        std::vector<std::string> found;
        for (const auto& r : app().log.LVAlert())
            if (r.action.find(" in") != std::string::npos && r.action.find("ALERT") == std::string::npos)
                found.push_back(r.action);
        return found;
    }
};

TEST_F(PathEventsTest, StagnancyFromTheSecondCheckOnAndChangeWhenSpaceMoves)
{
    load();
    data().watched = true;
    app().lstEvt[kEvtStagnancy] = true;
    app().lstEvt[kEvtChange] = true;
    // Start-up's bookkeeping gave the entry a previous value: the first check already compares.
    tick();
    ASSERT_EQ(eventRecords().size(), 1u);
    EXPECT_EQ(eventRecords()[0], "Free space stagnancy in: /data/ at size 800,000 KB\r\n.\r\n");

    // Space moves once: the previous value lags one check behind the cell, so the change shows
    // twice and stagnancy comes back on the second check after the move.
    h.volumes.mount("/data/").freeBytes -= 2048 * 1024;
    tick();
    EXPECT_EQ(app().log.LVAlert()[0].action, "Free space change in: /data/ at size 797,952 KB\r\n.\r\n");
    tick();
    EXPECT_EQ(app().log.LVAlert()[0].action, "Free space change in: /data/ at size 797,952 KB\r\n.\r\n");
    tick();
    EXPECT_EQ(app().log.LVAlert()[0].action, "Free space stagnancy in: /data/ at size 797,952 KB\r\n.\r\n");
    // Every event record also goes into the current-alerts text and the dialog's label.
    EXPECT_EQ(app().log.txtAlert().rfind("Free space stagnancy in: /data/", 0), 0u);
    EXPECT_NE(app().dlgAlert.Label1().find(" Free space stagnancy in: /data/"), std::string::npos);
}

TEST_F(PathEventsTest, EntryAddedByTheBrowserReportsChangeBecauseOfGrouping)
{
    load();
    h.dialogs.folders.push_back("/data/");
    h.model->addPath();
    h.loop.runPending();
    auto& added = app().ListView1.at(app().ListView1.size() - 1);
    ASSERT_EQ(added.freeText, "800000 KB");
    added.watched = true;
    app().lstEvt[kEvtStagnancy] = true;
    app().lstEvt[kEvtChange] = true;
    tick(); // first check: no previous value yet
    tick(); // second: "800000" against "800,000"
    EXPECT_EQ(app().log.LVAlert()[0].action, "Free space change in: /data/ at size 800,000 KB\r\n.\r\n");
    tick();
    EXPECT_EQ(app().log.LVAlert()[0].action.rfind("Free space stagnancy in: /data/", 0), 0u);
}

TEST_F(PathEventsTest, CountsChangeIsReportedOnceAgainstTheLastCheck)
{
    load();
    data().watched = true;
    app().lstEvt[kEvtAmount] = true;
    tick();
    EXPECT_TRUE(eventRecords().empty());
    h.files.counts["/data/"] = FolderCounts{4, 1};
    tick();
    ASSERT_EQ(eventRecords().size(), 1u);
    EXPECT_EQ(eventRecords()[0], "File Quantity changed in /data/ from 3 to 4\r\n.\r\n");
    tick();
    EXPECT_EQ(eventRecords().size(), 1u) << "the check after reports nothing";
    h.files.counts["/data/"] = FolderCounts{2, 5};
    tick();
    EXPECT_EQ(app().log.LVAlert()[0].action,
              "File Quantity changed in /data/ from 4 to 2\r\n.\r\nFolder Quantity changed in /data/ from 1 to 5\r\n.\r\n");
}

TEST_F(PathEventsTest, FolderGoneWhenCountingIsAnErrorOfTheCheck)
{
    load();
    data().watched = true;
    app().lstEvt[kEvtAmount] = true;
    tick();
    h.files.counts.erase("/data/");
    h.files.folders.erase("/data/");
    tick();
    const auto& records = app().log.LVAlert();
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const auto& r) { return r.action == "Error: Path not found"; }));
    EXPECT_TRUE(app().Timer1.Enabled());
}

TEST_F(PathEventsTest, ModifiedFilesAreReportedOncePerEntryAndSearch)
{
    h.volumes.add("/other/", 700000, 1000000);
    h.files.folders.insert("/other/");
    const DateTime start = h.clock.now();
    h.files.files["/data/old.txt"] = "x";
    h.files.modified["/data/old.txt"] = start.addSeconds(-60);
    h.files.files["/data/sub/deep.txt"] = "x"; // not directly in the folder
    h.files.modified["/data/sub/deep.txt"] = start.addSeconds(5);
    h.files.files["/data/.hidden"] = "x";
    h.files.modified["/data/.hidden"] = start.addSeconds(5);
    h.files.files["/other/b.txt"] = "x";
    h.files.modified["/other/b.txt"] = start.addSeconds(6);
    load();
    data().watched = true;
    app().ListView1.append(watchEntry("/other/", true));
    app().lstEvt[kEvtModified] = true;

    const auto modifiedRecords = [&] {
        std::vector<std::pair<std::string, std::string>> found;
        for (const auto& r : app().log.LVAlert())
            if (r.action.starts_with("Files modified: ")) {
                EXPECT_EQ(r.level, "High");
                found.emplace_back(r.time, r.action);
            }
        return found;
    };
    tick();
    // Both entries report: one entry's search does not move the other's mark.
    const auto first = modifiedRecords();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].second, "Files modified: .hidden (2026/12/10 09:30:05)");
    EXPECT_EQ(first[0].second, "Files modified: b.txt (2026/12/10 09:30:06)");
    EXPECT_EQ(first[0].first, "2026/12/10 09:30:10");

    tick();
    EXPECT_EQ(modifiedRecords().size(), 2u) << "nothing changed since the last search";

    h.files.modified["/data/old.txt"] = h.clock.now().addSeconds(2);
    tick();
    ASSERT_EQ(modifiedRecords().size(), 3u);
    EXPECT_EQ(modifiedRecords()[0].second, "Files modified: old.txt (2026/12/10 09:30:22)");
}

TEST(PathEventTexts, ModifiedFilesNewestFirstAndCappedAtTwenty)
{
    EXPECT_EQ(modifiedFilesText({}), "");
    std::vector<FileStamp> files;
    for (int i = 0; i < 23; ++i)
        files.push_back(FileStamp{"f" + std::to_string(i), DateTime{2026, 1, 2, 3, 4, i}});
    const auto text = modifiedFilesText(files);
    EXPECT_TRUE(text.starts_with("f22 (2026/01/02 03:04:22); f21 (2026/01/02 03:04:21); ")) << text;
    EXPECT_TRUE(text.ends_with("; f3 (2026/01/02 03:04:03); and 3 more")) << text;
}

TEST(PathEventTexts, CountsFormsThatAreSkipped)
{
    for (const char* counts : {"", "N/A", "file:|fold:2|", "file:3", "fold:1|file:2|x"}) {
        SCOPED_TRACE(counts);
        WatchEntry entry;
        entry.counts = counts;
        EXPECT_EQ(parseCounts(entry.counts).has_value(), std::string(counts) == "fold:1|file:2|x");
        if (!parseCounts(entry.counts)) {
            EXPECT_EQ(amountEvent(entry, std::nullopt), "");
        }
    }
}

} // namespace
} // namespace volmara::test
