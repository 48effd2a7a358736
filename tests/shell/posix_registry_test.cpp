// The registry keys on a freedesktop.org desktop, against real files under a temporary home.
#include "platform/posix/registry/autostart_entry.h"
#include "platform/posix/registry_posix.h"
#include "scoped_env.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace volmara::test {
namespace {

namespace fs = std::filesystem;

constexpr RegRoot kHklm = 0x80000002;
constexpr RegRoot kHkcu = 0x80000001;
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class AutostartTest : public ::testing::Test {
protected:
    TempFolder home;
    ScopedEnv homeVar{"HOME", home.path().string()};
    ScopedEnv configVar{"XDG_CONFIG_HOME", std::nullopt};
    PosixRegistry registry;
};

TEST_F(AutostartTest, TickedWritesTheQuotedProgramUntickedHidesItAndTickingAgainRewritesIt)
{
    const auto entry = home.path() / ".config/autostart/volmara.desktop";
    const std::string program = "/opt/my programs/volmara";

    ASSERT_TRUE(registry.setString(kHklm, kRun, "Volmara", program).ok);
    EXPECT_EQ(readAll(entry), "[Desktop Entry]\nType=Application\nName=Volmara\nExec=\"/opt/my programs/volmara\"\n"
                              "Terminal=false\n");
    EXPECT_EQ(registry.queryString(kHklm, kRun, "Volmara"), program);

    ASSERT_TRUE(registry.setString(kHklm, kRun, "Volmara", "").ok);
    EXPECT_EQ(readAll(entry), "[Desktop Entry]\nType=Application\nName=Volmara\nHidden=true\n");
    EXPECT_EQ(registry.queryString(kHklm, kRun, "Volmara"), "");

    ASSERT_TRUE(registry.setString(kHkcu, "software\\microsoft\\windows\\currentversion\\run", "Volmara", program).ok);
    EXPECT_EQ(readAll(entry).find("Hidden"), std::string::npos);
    EXPECT_EQ(registry.queryString(kHklm, kRun, "Volmara"), program);
    // Nothing is left beside the entry by the replacing writes.
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(AutostartTest, XdgConfigHomeIsRespectedWhenAbsolute)
{
    const auto config = home.path() / "elsewhere";
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", config.string());
        ASSERT_TRUE(registry.setString(kHklm, kRun, "Volmara", "/usr/bin/volmara").ok);
        EXPECT_TRUE(fs::exists(config / "autostart/volmara.desktop"));
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    ASSERT_TRUE(registry.setString(kHklm, kRun, "Volmara", "/usr/bin/volmara").ok);
    EXPECT_TRUE(fs::exists(home.path() / ".config/autostart/volmara.desktop"));
}

TEST_F(AutostartTest, FailuresSayWhy)
{
    // A file where the folder should be: not even root can write into it.
    fs::create_directories(home.path() / ".config");
    std::ofstream(home.path() / ".config/autostart") << "not a folder";
    const auto blocked = registry.setString(kHklm, kRun, "Volmara", "/usr/bin/volmara");
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.reason.find(".config/autostart"), std::string::npos) << blocked.reason;

    EXPECT_FALSE(registry.setString(kHklm, "SOFTWARE\\Other", "Volmara", "x").ok);
    EXPECT_FALSE(registry.setString(0x80000000, kRun, "Volmara", "x").ok);
    EXPECT_FALSE(registry.setString(kHklm, kRun, "../escape", "x").ok);
    EXPECT_FALSE(fs::exists(home.path() / ".config/escape.desktop"));
    EXPECT_EQ(registry.queryString(kHklm, "SOFTWARE\\Other", "Volmara"), std::nullopt);
}

TEST(AutostartExec, OddCharactersSurviveTheQuotingAndTheValueEscapes)
{
    struct Case {
        std::string program;
        std::string exec;
    };
    for (const auto& c : {
             Case{"/usr/bin/volmara", R"("/usr/bin/volmara")"},
             Case{"/opt/a b/volmara", R"("/opt/a b/volmara")"},
             Case{R"(/opt/"q"/v)", R"("/opt/\\"q\\"/v")"},
             Case{R"(/opt/back\slash)", R"("/opt/back\\\\slash")"},
             Case{"/opt/$HOME/`x`/100%", R"("/opt/\\$HOME/\\`x\\`/100%%")"},
             Case{"/opt/line\nbreak", R"("/opt/line\nbreak")"},
         }) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(execArgument(c.program), c.exec);
        EXPECT_EQ(autostartProgram(autostartEntryText("Volmara", c.program)), c.program);
    }
    EXPECT_EQ(autostartProgram("no entry at all"), std::nullopt);
}

TEST(SystemInfoTool, TheFirstInstalledToolOnPathIsTheRegisteredOne)
{
    TempFolder bin;
    const auto tool = [&](const std::string& folder, const std::string& name, mode_t mode) {
        fs::create_directories(bin.path() / folder);
        const auto path = bin.path() / folder / name;
        std::ofstream(path) << "#!/bin/sh\n";
        ::chmod(path.c_str(), mode);
        return path.string();
    };
    tool("a", "hardinfo", 0644); // not executable
    const auto kinfocenter = tool("b", "kinfocenter", 0755);
    const auto gnome = tool("a", "gnome-system-monitor", 0755);
    const std::string searchPath = "relative:" + (bin.path() / "a").string() + "::" + (bin.path() / "b").string();

    EXPECT_EQ(findOnPath(PosixRegistry::kSysInfoTools, searchPath), kinfocenter);
    EXPECT_EQ(findOnPath({"gnome-system-monitor"}, searchPath), gnome);
    EXPECT_EQ(findOnPath({"nothing-like-it"}, searchPath), std::nullopt);

    PosixRegistry registry;
    const std::string msinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    {
        ScopedEnv path("PATH", searchPath);
        EXPECT_EQ(registry.queryString(kHklm, msinfo, "PATH"), kinfocenter);
        EXPECT_EQ(registry.queryString(kHklm, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"), std::nullopt);
    }
    ScopedEnv empty("PATH", (bin.path() / "none").string());
    EXPECT_EQ(registry.queryString(kHklm, msinfo, "PATH"), std::nullopt);
}

} // namespace
} // namespace volmara::test
