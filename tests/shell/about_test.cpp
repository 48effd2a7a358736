#include "shell/frm_about.h"
#include "shell/registry_keys.h"
#include "shell/shell_commands.h"
#include "shell_harness.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

class AboutTest : public ::testing::Test {
protected:
    ShellHarness s;
    FrmAbout& about() { return s.app().frmAbout; }
    std::vector<std::string> started()
    {
        std::vector<std::string> paths;
        for (const auto& start : s.h.shell.started)
            paths.push_back(start.path);
        return paths;
    }
    void sysInfo()
    {
        about().cmdSysInfo_Click();
        s.h.loop.runPending();
    }
};

TEST_F(AboutTest, ShowsTheBuildsVersionAndTheFanFollowsTheMouse)
{
    mnuAboutVL_Click(s.app());
    EXPECT_TRUE(about().visible());
    EXPECT_EQ(versionText(ProgramVersion{2, 1, 0}), "Version 2.1.0");
    about().version = {2, 1, 0};
    about().Form_Load(400, 300);
    EXPECT_EQ(about().lblVersion(), "Version 2.1.0");

    const auto commonEnds = [&] {
        std::vector<Point> ends;
        for (std::size_t k = 0; k < FrmAbout::kPairs; ++k) {
            ends.push_back(about().lines()[2 * k].p2);
            ends.push_back(about().lines()[2 * k + 1].p1);
        }
        return ends;
    };
    EXPECT_EQ(commonEnds(), std::vector<Point>(18, Point{200, 300}));
    const auto farEnd = about().lines()[4].p1;

    about().Form_MouseMove(0, 0);
    EXPECT_EQ(commonEnds(), std::vector<Point>(18, Point{0, 0}));
    EXPECT_EQ(about().lines()[4].p1, farEnd);

    about().cmdOK_Click();
    EXPECT_FALSE(about().visible());
    EXPECT_FALSE(about().loaded());
}

TEST_F(AboutTest, SystemInfoStartsTheRegisteredToolOrSaysItIsUnavailable)
{
    auto& registry = s.h.registry;
    const std::string unavailable(kSysInfoUnavailable);

    sysInfo(); // nothing registered
    EXPECT_TRUE(started().empty());
    EXPECT_EQ(s.lastMessage(), unavailable);

    // Only the folder is registered, and the tool is not in it.
    registry.setValue(HKEY_LOCAL_MACHINE, std::string(kMsInfoLocationKey), "MSINFO", "/opt/msinfo");
    s.h.dialogs.shown.clear();
    sysInfo();
    EXPECT_TRUE(started().empty());
    EXPECT_EQ(s.lastMessage(), unavailable);

    s.h.files.files["/opt/msinfo/MSINFO32.EXE"] = "";
    s.h.dialogs.shown.clear();
    sysInfo();
    EXPECT_EQ(started(), std::vector<std::string>{"/opt/msinfo/MSINFO32.EXE"});
    EXPECT_TRUE(s.h.dialogs.shown.empty());

    registry.setValue(HKEY_LOCAL_MACHINE, std::string(kMsInfoKey), "PATH", "/usr/bin/kinfocenter");
    sysInfo();
    EXPECT_EQ(started().back(), "/usr/bin/kinfocenter");
    EXPECT_TRUE(s.h.dialogs.shown.empty());

    s.h.shell.refused["/usr/bin/kinfocenter"] = "Permission denied";
    sysInfo();
    EXPECT_EQ(s.lastMessage(), unavailable);
}

} // namespace
} // namespace volmara::test
