#include "alerts/cleanup_actions.h"
#include "alerts/specified_files.h"
#include "alerts/specified_lists_file.h"
#include "alerts/specified_programs.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class CleanupActionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.volumes.add("/data/", 30000, 1000000);
        h.files.folders = {"/", "/data/", "/home/user/.local/share/Trash", "/data/.Trash-1000"};
        h.trash.folders["/"] = {"/home/user/.local/share/Trash"};
        h.trash.folders["/data/"] = {"/data/.Trash-1000", "/data/.Trash/1000"};
        h.trash.held = {{"/home/user/.local/share/Trash", 3}, {"/data/.Trash-1000", 2}};
        h.load();
    }
    AppState& app() { return h.app(); }
    EmptyResult empty(const std::string& drive, std::int16_t noConfirmation, std::int16_t noProgress = 0)
    {
        EmptyResult result;
        app().tasks.spawn([](AppState& a, std::string d, std::int16_t c, std::int16_t p, EmptyResult& out) -> Task<void> {
            out = co_await MakeRecycleBinEmpty(a, d, c, p, 0);
        }(app(), drive, noConfirmation, noProgress, result));
        h.loop.runPending();
        return result;
    }
    std::string newestRecord() { return app().log.LVAlert().empty() ? "" : app().log.LVAlert().front().action; }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }

    AppHarness h;
};

TEST_F(CleanupActionsTest, EmptyingAsksUnlessToldNotToAndEmptiesTheDriveItIsGiven)
{
    h.dialogs.answers = {MsgAnswer::No};
    EXPECT_EQ(empty("", 0).outcome, EmptyOutcome::Cancelled);
    EXPECT_EQ(lastMessage(), kRecycleConfirmation);
    EXPECT_TRUE(h.trash.emptied.empty());

    const auto asked = h.dialogs.shown.size();
    EXPECT_EQ(empty("/data/old/stuff", 1).outcome, EmptyOutcome::Emptied);
    EXPECT_EQ(h.dialogs.shown.size(), asked) << "no confirmation";
    EXPECT_EQ(h.trash.asked.back(), "/data/") << "only the trash of the drive holding the path";
    EXPECT_EQ(h.trash.emptied, std::vector<std::string>{"/data/.Trash-1000"}) << "a folder that is not there is skipped";

    h.trash.emptied.clear();
    h.dialogs.answers = {MsgAnswer::Yes};
    EXPECT_EQ(empty("", 2, 2).outcome, EmptyOutcome::Emptied) << "2 AND 1 is 0: the confirmation stays";
    EXPECT_EQ(lastMessage(), kRecycleConfirmation);
    EXPECT_EQ(h.trash.emptied, (std::vector<std::string>{"/home/user/.local/share/Trash", "/data/.Trash-1000"}));
    EXPECT_EQ(h.trash.held["/home/user/.local/share/Trash"], 0u);
}

TEST_F(CleanupActionsTest, TheMenuRecordsOnlyAnEmptiedBin)
{
    h.dialogs.answers = {MsgAnswer::No};
    mnuEmptyRecyc_Click(app());
    h.loop.runPending();
    EXPECT_NE(newestRecord(), "User cleared recycle bin") << "a cancelled confirmation records nothing";

    h.trash.refused["/data/.Trash-1000"] = "Permission denied";
    mnuEmptyRecyc_Click(app());
    h.loop.runPending();
    EXPECT_NE(newestRecord(), "User cleared recycle bin");
    EXPECT_EQ(lastMessage(), "The recycle bin could not be emptied wholly: Permission denied");
    EXPECT_EQ(h.trash.emptied, std::vector<std::string>{"/home/user/.local/share/Trash"}) << "the others are emptied";

    h.trash.refused.clear();
    mnuEmptyRecyc_Click(app());
    h.loop.runPending();
    EXPECT_EQ(newestRecord(), "User cleared recycle bin");
    EXPECT_EQ(app().log.LVAlert().front().level, "Medium");
    EXPECT_EQ(app().log.LVAlert().front().time.size(), std::string("yyyymmdd HH:mm:ss").size());
}

TEST_F(CleanupActionsTest, TheCleanUpToolGetsItsPresetOrItsWindow)
{
    EXPECT_EQ(cleanManParameters("", ""), " ");
    EXPECT_EQ(cleanManParameters("C:", "12"), " /d C:  /sagerun: 12");

    mnuCleaner_Click(app());
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), kCleanToolMissing);
    EXPECT_TRUE(h.shell.started.empty());

    h.shell.installed["bleachbit"] = "/usr/bin/bleachbit";
    mnuCleaner_Click(app());
    std::optional<std::string> failure = "not run";
    app().tasks.spawn([](AppState& a, std::optional<std::string>& out) -> Task<void> {
        out = co_await prcCleanMan(a, "/data", "12");
    }(app(), failure));
    h.loop.runPending();
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(h.shell.started, (std::vector<FakeShell::Start>{{"/usr/bin/bleachbit", {}},
                                                              {"/usr/bin/bleachbit", {"--preset", "--clean"}}}));
}

TEST_F(CleanupActionsTest, ShellActions)
{
    RecycleBin(app());
    h.loop.runPending();
    EXPECT_EQ(h.shell.opened, std::vector<std::string>{"trash:///"});
    h.shell.refused["trash:///"] = "The desktop's opener xdg-open is not installed";
    RecycleBin(app());
    h.loop.runPending();
    EXPECT_EQ(lastMessage(), "The desktop's opener xdg-open is not installed");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Information);

    mnuOlvesta_Click(app());
    h.loop.runPending();
    EXPECT_TRUE(h.shell.started.empty()) << "no companion program, no word";
    h.files.files["/opt/volmara/olvesta"] = "";
    mnuOlvesta_Click(app());
    h.loop.runPending();
    EXPECT_EQ(h.shell.started, (std::vector<FakeShell::Start>{{"/opt/volmara/olvesta", {}}}));

    for (auto& entry : app().ListView1.rows())
        entry.selected = true;
    mnuExplore_Click(app());
    h.loop.runPending();
    EXPECT_EQ(h.shell.explored, (std::vector<std::string>{"/", "/data/"})) << "every selected row, in list order";

    mnuDefrag_Click(app());
    EXPECT_EQ(lastMessage(), kDefragUnavailable);
}

// --- extra.dat ---------------------------------------------------------------------------------

TEST(SpecifiedListsFile, ListsComeBackAfterARestart)
{
    AppHarness first;
    first.volumes.add("/", 900000, 2000000);
    first.files.folders = {"/", "/data"};
    first.files.files["/data/kept.iso"] = std::string(2048, 'x');
    first.files.files["/data/gone.iso"] = "";
    first.files.files["/opt/tools/run"] = "";
    first.files.files["/opt/volmara/extra.dat"] = "mailport=2525\r\nlater=kept\r\n";
    first.load();
    auto& app = first.app();
    app.cboFileText = "/data;kept.iso;gone.iso";
    lblSF_Click(app, kSfAdd);
    first.loop.runPending();
    app.cboProgText = "/opt/tools/run";
    Label5_Click(app, kProgAdd);
    first.loop.runPending();
    EXPECT_EQ(first.files.files["/opt/volmara/extra.dat"],
              "mailport=2525\r\nfile=/data/kept.iso\r\nfile=/data/gone.iso\r\nprog=/opt/tools/run\r\nlater=kept\r\n");
    EXPECT_TRUE(first.files.ownerOnly["/opt/volmara/extra.dat"]);

    AppHarness second;
    second.volumes.add("/", 900000, 2000000);
    second.files.folders = {"/", "/data"};
    second.files.files["/data/kept.iso"] = std::string(2048, 'x');
    second.files.files["/opt/volmara/extra.dat"] = first.files.files["/opt/volmara/extra.dat"];
    second.load();
    const auto& again = second.app();
    ASSERT_EQ(again.LVFile.size(), 2u);
    EXPECT_EQ(again.LVFile.at(0).size, "2 KB");
    EXPECT_EQ(again.LVFile.at(1), (SpecifiedFileRow{"/data/gone.iso", "gone.iso", "n/a", "n/a", "/data", "", "", "", ""}))
        << "a file that has gone comes back as a missing-path row";
    ASSERT_EQ(again.LVProg.size(), 1u);
    EXPECT_EQ(again.LVProg.at(0).text, "run");
    EXPECT_EQ(second.files.writes, 0) << "reading writes nothing";
}

TEST(SpecifiedListsFile, NothingIsWrittenBeforeTheStoredListsAreIn)
{
    AppHarness h;
    h.volumes.add("/", 900000, 2000000);
    h.files.files["/opt/volmara/extra.dat"] = "file=/stored\r\n";
    h.make();
    auto& app = h.app();
    app.LVFile.append(SpecifiedFileRow{"/early", "early", "n/a", "n/a", "/", "", "", "", ""});
    EXPECT_EQ(h.files.files["/opt/volmara/extra.dat"], "file=/stored\r\n");
    h.model->Form_Load();
    h.loop.runPending();
    EXPECT_EQ(h.files.files["/opt/volmara/extra.dat"], "file=/stored\r\nfile=/early\r\n");
}

} // namespace
} // namespace volmara::test
