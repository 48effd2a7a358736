#include "core/path_rules.h"
#include "fakes/fake_volumes.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

TEST(WindowsPathRules, DriveLetterCases)
{
    const WindowsPathRules rules;
    struct Case {
        std::string text;
        std::string root;
        std::string chkDriv;
    };
    for (const auto& c : {Case{"D:\\Music\\old", "D:\\", "D:\\"}, Case{"no colon here", "no ", "c:\\"},
                          Case{"C:", "C:", "c:\\"}, Case{"ab:cd", "ab:", "ab:c"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(rules.driveRoot(c.text), c.root);
        EXPECT_EQ(rules.prcChkDriv(c.text), c.chkDriv);
    }
    EXPECT_EQ(rules.drivePath("C:\\"), "C:");
    EXPECT_TRUE(rules.isNetworkPath("\\\\server\\share"));
    EXPECT_EQ(rules.withSeparator("C:\\temp"), "C:\\temp\\");
    EXPECT_EQ(rules.withSeparator("C:\\temp/"), "C:\\temp/");
    EXPECT_TRUE(rules.samePath("c:\\", "C:\\"));
}

TEST(PosixPathRules, MountPointCases)
{
    FakeVolumes volumes;
    volumes.add("/", 1, 1);
    volumes.add("/home/", 1, 1);
    volumes.add("/mnt/share/", 1, 1).remote = true;
    const PosixPathRules rules(volumes);
    struct Case {
        std::string text;
        std::string root;
        std::string chkDriv;
    };
    for (const auto& c : {Case{"/home/user/Music, old", "/home/", "/home/"}, Case{"/homework/x", "/", "/"},
                          Case{"relative/path", "", "/"}, Case{"see /mnt/share/docs", "", "/mnt/share/"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(rules.driveRoot(c.text), c.root);
        EXPECT_EQ(rules.prcChkDriv(c.text), c.chkDriv);
    }
    EXPECT_EQ(rules.drivePath("/"), "/");
    EXPECT_EQ(rules.drivePath("/home/"), "/home");
    EXPECT_TRUE(rules.isNetworkPath("/mnt/share/docs"));
    EXPECT_FALSE(rules.isNetworkPath("/home/user"));
    EXPECT_FALSE(rules.samePath("/Home/", "/home/")) << "Linux paths are case-sensitive";
}

} // namespace
} // namespace volmara::test
