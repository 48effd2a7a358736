#include "alerts/specified_programs.h"
#include "fakes/app_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class SpecifiedProgramsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/", "/opt/tools"};
        h.files.files["/opt/tools/first"] = "";
        h.files.files["/opt/tools/second"] = "";
        h.load();
    }
    AppState& app() { return h.app(); }
    void click(int index)
    {
        Label5_Click(app(), index);
        h.loop.runPending();
    }
    void add(const std::string& text)
    {
        app().cboProgText = text;
        click(kProgAdd);
    }
    std::string runAll()
    {
        std::string report = "not run";
        app().tasks.spawn([](AppState& a, std::string& out) -> Task<void> { out = co_await runAllPrograms(a); }(app(), report));
        h.loop.runPending();
        return report;
    }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }

    AppHarness h;
};

TEST_F(SpecifiedProgramsTest, AddChecksTheTrimmedTextAndKeepsItAsTyped)
{
    add(" /opt/tools/first ");
    ASSERT_EQ(app().LVProg.size(), 1u);
    EXPECT_EQ(app().LVProg.at(0), (SpecifiedProgramRow{" /opt/tools/first ", "first", "Execute", "/opt/tools", ""}));
    add("/opt/tools/first");
    EXPECT_EQ(app().LVProg.size(), 2u) << "rows are not checked for duplicates";

    add("/opt/tools/none");
    EXPECT_EQ(lastMessage(), "File does not exists.");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Critical);
    add("/opt/tools");
    EXPECT_EQ(app().LVProg.size(), 2u) << "a folder is no program";
}

TEST_F(SpecifiedProgramsTest, RemoveClearAndRun)
{
    click(kProgRemove);
    EXPECT_EQ(lastMessage(), "No listed item.");
    add("/opt/tools/first");
    add("/opt/tools/second");
    app().LVProg.selectIndex(1);
    click(kProgRun);
    EXPECT_EQ(h.shell.started, (std::vector<FakeShell::Start>{{"/opt/tools/second", {"0"}}}));
    click(kProgRemove);
    EXPECT_EQ(app().LVProg.size(), 1u);

    app().LVProg.selectIndex(0);
    h.shell.refused["/opt/tools/first"] = "Permission denied";
    click(kProgRun);
    EXPECT_EQ(lastMessage(), "The program could not be started: Permission denied");
    click(kProgClearAll);
    EXPECT_TRUE(app().LVProg.empty());
}

TEST_F(SpecifiedProgramsTest, RunningAllReportsEachRowInListOrder)
{
    EXPECT_EQ(runAll(), "") << "an empty list starts nothing";
    add("/opt/tools/first");
    add("/opt/tools/second");
    add("/opt/tools/first");
    h.files.files.erase("/opt/tools/second");
    EXPECT_EQ(runAll(), " - Specified Program Executed: \r\n/opt/tools/first\r\n"
                        " - Specified Program Execution Failed (File Does Not Exist): \r\n/opt/tools/second\r\n"
                        " - Specified Program Executed: \r\n/opt/tools/first\r\n");
    EXPECT_EQ(h.shell.started.size(), 2u) << "the same program listed twice starts twice";

    h.shell.refused["/opt/tools/first"] = "Exec format error";
    EXPECT_EQ(runAll(), " - Specified Program Execution Failed (Exec format error): \r\n/opt/tools/first\r\n"
                        " - Specified Program Execution Failed (File Does Not Exist): \r\n/opt/tools/second\r\n"
                        " - Specified Program Execution Failed (Exec format error): \r\n/opt/tools/first\r\n")
        << "a refused start is no execution";
}

TEST_F(SpecifiedProgramsTest, BrowseAndDrops)
{
    h.dialogs.multiFiles = {std::nullopt, std::string("/opt/tools/first")};
    click(kProgBrowse);
    EXPECT_EQ(app().cboProgText, "") << "a cancelled chooser leaves the box";
    click(kProgBrowse);
    EXPECT_EQ(app().cboProgText, "/opt/tools/first");
    EXPECT_EQ(h.dialogs.filesRequests.back().initialFolder, "/");

    cboProg_Drop(app(), {"/a", "/b"});
    EXPECT_EQ(app().cboProg, (std::vector<std::string>{"/a", "/b"}));
    LVProg_Drop(app(), {"/opt/tools/first", "/opt/tools/none", "/opt/tools/second"});
    h.loop.runPending();
    ASSERT_EQ(app().LVProg.size(), 2u) << "missing files are skipped";
    EXPECT_EQ(app().LVProg.at(1).text, "/opt/tools/second") << "a dropped row shows the full path";
    LVProg_Drop(app(), {"/opt/tools/none"});
    h.loop.runPending();
    EXPECT_EQ(app().cboProgText, "/opt/tools/none");
}

} // namespace
} // namespace volmara::test
