// Drives against real, size-limited tmpfs mounts in the test's private mount namespace.
#include "mount_namespace.h"
#include "temp_folder.h"

#include "measure_now.h"
#include "platform/posix/volumes_posix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include <sys/mount.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using test::Mounts;
using test::TempFolder;

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;

bool contains(const std::vector<std::string>& list, const std::string& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

class TmpfsVolumes : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        fs::create_directory(mnt);
        mounts.mount("tmpfs", mnt, "tmpfs", MS_NOSUID | MS_NODEV, "size=4m");
    }

    TempFolder folder;
    Mounts mounts; // unmounted before the folder is removed
    const std::string mnt = folder / "mnt";
};

TEST_F(TmpfsVolumes, MountIsADriveOfItsOwn)
{
    PosixVolumes volumes;
    fs::create_directories(mnt + "/sub/deeper");
    fs::create_directory(folder / "mntx");

    EXPECT_TRUE(contains(volumes.logicalDrives(), mnt + "/"));
    EXPECT_EQ(volumes.mountPointOf(mnt), mnt + "/");
    EXPECT_EQ(volumes.mountPointOf(mnt + "/sub/deeper"), mnt + "/");
    // A sibling whose name merely starts with the mount's name lies on the parent's drive.
    EXPECT_EQ(volumes.mountPointOf(folder / "mntx"), volumes.mountPointOf(folder.path().string()));
    EXPECT_NE(volumes.mountPointOf(folder / "mntx"), mnt + "/");
    EXPECT_FALSE(volumes.isRemote(mnt + "/sub"));

    const DriveSpace space = test::measureNow(volumes, mnt + "/sub/deeper");
    EXPECT_TRUE(space.ready);
    EXPECT_EQ(space.root, mnt + "/");
    EXPECT_EQ(space.path, mnt);
    EXPECT_EQ(space.totalBytes, 4 * MiB);
    EXPECT_EQ(space.freeBytes, 4 * MiB);
    EXPECT_EQ(space.availableBytes, 4 * MiB);
}

TEST_F(TmpfsVolumes, ShortAndFullVolumesMeasureWhatIsStored)
{
    PosixVolumes volumes;
    constexpr std::uint64_t triggerKb = 1024;

    const DriveSpace empty = test::measureNow(volumes, mnt);
    ASSERT_TRUE(empty.ready);
    EXPECT_GE(empty.freeBytes / KiB, triggerKb);

    ASSERT_EQ(test::fillFile(mnt + "/big", 3 * MiB + 512 * KiB), static_cast<long long>(3 * MiB + 512 * KiB));
    const DriveSpace shortOfSpace = test::measureNow(volumes, mnt);
    ASSERT_TRUE(shortOfSpace.ready);
    EXPECT_EQ(shortOfSpace.freeBytes, 512 * KiB);
    EXPECT_EQ(shortOfSpace.availableBytes, 512 * KiB);
    EXPECT_EQ(shortOfSpace.totalBytes, 4 * MiB);
    EXPECT_LT(shortOfSpace.freeBytes / KiB, triggerKb);

    EXPECT_EQ(test::fillFile(mnt + "/rest", 64 * MiB), static_cast<long long>(512 * KiB));
    const DriveSpace full = test::measureNow(volumes, mnt + "/");
    EXPECT_TRUE(full.ready);
    EXPECT_EQ(full.freeBytes, 0u);
    EXPECT_EQ(full.availableBytes, 0u);
    EXPECT_EQ(full.totalBytes, 4 * MiB);
}

TEST_F(TmpfsVolumes, PseudoSystemAndRepeatedMountsAreNotDrives)
{
    for (const char* name : {"proc", "cgroup", "pts", "bind", "mnt2"})
        fs::create_directory(folder / name);
    if (test::hasRealRoot()) {
        mounts.mount("proc", folder / "proc", "proc");
        mounts.mount("cgroup2", folder / "cgroup", "cgroup2");
    }
    mounts.mount("devpts", folder / "pts", "devpts", 0, "newinstance,ptmxmode=0666");
    mounts.bind(mnt, folder / "bind");
    // Two tmpfs share the source "tmpfs" and are still two drives; the later of two mounts at
    // one place hides the earlier.
    mounts.mount("tmpfs", folder / "mnt2", "tmpfs", 0, "size=1m");
    mounts.mount("tmpfs", folder / "mnt2", "tmpfs", 0, "size=2m");
    // The system's own tmpfs trees; this /run exists in the test's namespace only.
    mounts.mount("tmpfs", "/run", "tmpfs", 0, "size=1m");
    fs::create_directory("/run/inner");
    mounts.mount("tmpfs", "/run/inner", "tmpfs", 0, "size=1m");

    PosixVolumes volumes;
    const std::vector<std::string> drives = volumes.logicalDrives();

    EXPECT_EQ(std::count(drives.begin(), drives.end(), mnt + "/"), 1);
    EXPECT_EQ(std::count(drives.begin(), drives.end(), folder / "mnt2/"), 1);
    EXPECT_EQ(std::count(drives.begin(), drives.end(), "/"), 1);
    for (const std::string& leftOut : {folder / "proc/", folder / "cgroup/", folder / "pts/", folder / "bind/",
                                       std::string("/run/"), std::string("/run/inner/"), std::string("/proc/"),
                                       std::string("/sys/"), std::string("/dev/"), std::string("/dev/pts/"),
                                       std::string("/dev/shm/")}) {
        SCOPED_TRACE(leftOut);
        EXPECT_FALSE(contains(drives, leftOut));
    }
    EXPECT_EQ(std::set<std::string>(drives.begin(), drives.end()).size(), drives.size());
    for (const std::string& root : drives)
        EXPECT_TRUE(root.ends_with('/')) << root;

    EXPECT_EQ(test::measureNow(volumes, folder / "mnt2").totalBytes, 2 * MiB);
    // A path below a left-out mount still belongs to that mount, not to a listed one.
    EXPECT_EQ(volumes.mountPointOf(folder / "bind/x"), folder / "bind/");
}

TEST_F(TmpfsVolumes, TableFollowsMountsAndUnmounts)
{
    PosixVolumes volumes;
    fs::create_directory(mnt + "/sub");

    const DriveSpace gone = test::measureNow(volumes, mnt + "/no-such-folder");
    EXPECT_FALSE(gone.ready);
    EXPECT_EQ(gone.root, mnt + "/");
    EXPECT_EQ(gone.path, mnt);
    EXPECT_TRUE(test::measureNow(volumes, mnt + "/sub").ready);

    // Media removed: the mount goes, its folders with it.
    mounts.unmount(mnt);
    EXPECT_FALSE(contains(volumes.logicalDrives(), mnt + "/"));
    const DriveSpace removed = test::measureNow(volumes, mnt + "/sub");
    EXPECT_FALSE(removed.ready);
    EXPECT_EQ(removed.root, volumes.mountPointOf(folder.path().string()));

    const std::string later = folder / "later";
    fs::create_directory(later);
    mounts.mount("tmpfs", later, "tmpfs", 0, "size=1m");
    EXPECT_TRUE(contains(volumes.logicalDrives(), later + "/"));
    EXPECT_EQ(test::measureNow(volumes, later).totalBytes, 1 * MiB);
}

} // namespace
} // namespace volmara
