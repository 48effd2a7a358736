// The layer against this machine's own mount table.
#include "measure_now.h"
#include "platform/posix/volumes_posix.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <sys/statvfs.h>

namespace volmara {
namespace {

TEST(PosixVolumes, PathsThatNameNoDriveAreInvalidArguments)
{
    PosixVolumes volumes;
    for (const char* text : {"", "   ", "relative/path", "C:\\", "~/x", "./here"}) {
        SCOPED_TRACE(text);
        try {
            test::measureNow(volumes, text);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.kind(), ErrorKind::InvalidArgument);
            EXPECT_EQ(error.description(), "Invalid procedure call or argument");
        }
    }
}

TEST(PosixVolumes, RootFileSystemIsMeasuredInBytes)
{
    PosixVolumes volumes;
    const DriveSpace root = test::measureNow(volumes, "  /  ");
    struct statvfs expected {};
    ASSERT_EQ(::statvfs("/", &expected), 0);

    EXPECT_TRUE(root.ready);
    EXPECT_EQ(root.root, "/");
    EXPECT_EQ(root.path, "/");
    EXPECT_EQ(root.totalBytes, std::uint64_t{expected.f_blocks} * expected.f_frsize);
    EXPECT_LE(root.availableBytes, root.freeBytes);
    EXPECT_LE(root.freeBytes, root.totalBytes);
}

TEST(PosixVolumes, MachineDrivesAreRealFileSystems)
{
    PosixVolumes volumes;
    const std::vector<std::string> drives = volumes.logicalDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_NE(std::find(drives.begin(), drives.end(), "/"), drives.end());
    EXPECT_EQ(std::set<std::string>(drives.begin(), drives.end()).size(), drives.size());
    for (const std::string& root : drives) {
        SCOPED_TRACE(root);
        EXPECT_TRUE(root.ends_with('/'));
        EXPECT_EQ(volumes.mountPointOf(root), root);
        EXPECT_FALSE(root.starts_with("/proc/") || root.starts_with("/sys/") || root.starts_with("/dev/"));
    }
    EXPECT_EQ(volumes.mountPointOf("/proc/self/status"), "/proc/");
}

} // namespace
} // namespace volmara
