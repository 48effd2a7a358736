// The responses of a shortage, run by the check on a scripted world.
#include "alerts/cleanup_actions.h"
#include "alerts/specified_files.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class ResponseSequenceTest : public ::testing::Test {
protected:
    // "/data/" is short of the 50000 KB trigger; "/" and "/big/" have room.
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.volumes.add("/big/", 700000, 800000);
        h.files.folders = {"/", "/data/", "/big/", "/data/dir"};
        putFile("/data/a.iso", 2048);
        putFile("/data/b.iso", 4096);
        putFile("/home/user/keep.txt", 10);
        h.load();
        for (auto& e : app().ListView1.rows())
            e.watched = e.path == "/data/";
        for (const char* path : {"/data/a.iso", "/data/b.iso", "/home/user/keep.txt"})
            add(path);
        ASSERT_EQ(app().LVFile.size(), 3u);
        app().lstAct.fill(false);
    }

    AppState& app() { return h.app(); }
    void putFile(const std::string& path, std::uint64_t bytes)
    {
        h.files.files[path] = "";
        h.files.sizes[path] = bytes;
    }
    void tick() { h.loop.advance(10000); }
    // Add, as the "Spec." page runs it (one command at a time).
    void add(const std::string& path)
    {
        app().cboFileText = path;
        lblSF_Click(app(), kSfAdd);
        h.loop.runPending();
    }
    void tick(std::initializer_list<int> responses)
    {
        for (const int r : responses)
            app().lstAct[static_cast<std::size_t>(r)] = true;
        tick();
    }
    // The records' actions, oldest first, from the first shortage alert on.
    std::vector<std::string> actions()
    {
        std::vector<std::string> out;
        for (const auto& row : app().log.LVAlert())
            out.insert(out.begin(), row.action);
        return out;
    }
    std::vector<std::string> tags()
    {
        std::vector<std::string> out;
        for (const auto& item : app().LVFile.items())
            out.push_back(item.row.tag);
        return out;
    }
    static constexpr const char* kAlert = " - ALERT: Space Shortage < 50000 KB Drive: /data[30,000 KB]";

    AppHarness h;
};

TEST_F(ResponseSequenceTest, EveryResponseRunsInIndexOrderAndLeavesItsRecord)
{
    app().cboFile = {"/data/a.iso"};
    app().settings.txtDrive = "/big/";
    tick({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

    // The move takes both files of the short drive; delete, trash and the automatic move then
    // find none of its files left, and leave the other drive's file alone.
    EXPECT_EQ(tags(), std::vector<std::string>{"/home/user/keep.txt"});
    EXPECT_EQ(h.files.moves, (std::vector<std::pair<std::string, std::string>>{{"/data/b.iso", "/big/b.iso"},
                                                                               {"/data/a.iso", "/big/a.iso"}}));
    EXPECT_TRUE(h.trash.trashed.empty());
    ASSERT_EQ(h.sound.played, std::vector<std::string>{"/opt/volmara/sound/alert.WAV"});
    const std::vector<std::string> expected{
        kAlert,
        // the action text starts as the alert text, and the first record carries it
        std::string(kAlert) + "Auto Moved File: /data/b.iso to /big/ Size: 4 KB\r\n.\r\n",
        "Auto Moved File: /data/a.iso to /big/ Size: 2 KB\r\n.\r\n",
        "Recycle Bin Content Emptied.",
        // the programs list is empty: the action text, emptied by the move's records, stays empty
        "",
        "Notification Email not Sent: " + app().frmNotify.StatusTxt(),
        kCleanToolMissing,
        "Program paused by user option to pause on alert event.",
    };
    EXPECT_EQ(actions(), expected);
    EXPECT_EQ(app().ListView1.at(1).icon, StatusIcon::Alert);
    EXPECT_TRUE(app().dlgAlert.visible());

    // Paused: the check left the timer off and the next tick does not come.
    EXPECT_FALSE(app().Timer1.Enabled());
    EXPECT_EQ(app().form1.cmdPause, "Start Watch");
    const auto checks = app().checksDone;
    tick();
    EXPECT_EQ(app().checksDone, checks);
}

TEST_F(ResponseSequenceTest, DeleteTakesOneFileOfTheShortDrivePerCheck)
{
    // What a window showing the list read when it was last told of a change.
    auto shown = std::make_shared<std::vector<std::string>>();
    app().LVFile.subscribe([this, shown] { *shown = tags(); });
    tick({2});
    EXPECT_EQ(tags(), (std::vector<std::string>{"/data/b.iso", "/home/user/keep.txt"}));
    EXPECT_EQ(*shown, tags()) << "the window learns of the removed row";
    EXPECT_FALSE(h.files.fileExists("/data/a.iso"));
    EXPECT_EQ(actions().back(), "Auto Deleted Specified File: /data/a.iso");
    tick();
    EXPECT_EQ(tags(), std::vector<std::string>{"/home/user/keep.txt"});
    EXPECT_FALSE(h.files.fileExists("/data/b.iso"));
    EXPECT_TRUE(h.files.fileExists("/home/user/keep.txt"));
}

TEST_F(ResponseSequenceTest, MoveWithoutAHistoryRecordsNothingAndShowsTheDialog)
{
    ASSERT_TRUE(app().cboFile.empty());
    ASSERT_FALSE(app().dlgAlert.visible());
    tick({1});
    EXPECT_EQ(actions(), std::vector<std::string>{kAlert});
    EXPECT_TRUE(app().dlgAlert.visible()) << "the action text is new to the dialog";
    EXPECT_TRUE(h.files.moves.empty());
}

TEST_F(ResponseSequenceTest, ProgramsRecordTheActionTextWithTheirReport)
{
    tick({7});
    EXPECT_EQ(actions(), (std::vector<std::string>{kAlert, kAlert})) << "an empty list records the alert text again";
}

TEST_F(ResponseSequenceTest, TrashTakesTheFirstFileOfTheShortDrive)
{
    // A file of a healthy drive listed first is not the one that goes.
    app().LVFile.clear();
    for (const char* path : {"/home/user/keep.txt", "/data/a.iso", "/data/b.iso"})
        add(path);
    tick({3});
    EXPECT_EQ(h.trash.trashed, std::vector<std::string>{"/data/a.iso"});
    EXPECT_EQ(actions().back(), "Auto send file to recycle bin: /data/a.iso");
}

TEST_F(ResponseSequenceTest, AutomaticMoveGoesToTheDriveWithTheMostRoom)
{
    for (auto& e : app().ListView1.rows())
        e.watched = true;
    tick({4});
    // "/" has 900000 KB, "/big/" 700000 KB: both files go to "/", and the short entry's space is
    // measured again after each move (the fakes do not shrink, so both are taken).
    EXPECT_EQ(h.files.moves, (std::vector<std::pair<std::string, std::string>>{{"/data/b.iso", "/b.iso"},
                                                                               {"/data/a.iso", "/a.iso"}}));
    EXPECT_EQ(tags(), std::vector<std::string>{"/home/user/keep.txt"});
}

} // namespace
} // namespace volmara::test
