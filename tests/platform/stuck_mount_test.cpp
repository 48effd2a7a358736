// A file system that never answers: a FUSE mount whose daemon never reads its requests, the way
// a network share behaves when its server is gone.
#include "mount_namespace.h"
#include "temp_folder.h"

#include "platform/posix/volumes_posix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::uint64_t MiB = 1024 * 1024;

class StuckMount : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        if (!test::hasRealRoot())
            GTEST_SKIP() << "a FUSE mount needs /dev/fuse, which only the real root may open";
        fs::create_directory(healthy);
        mounts.mount("tmpfs", healthy, "tmpfs", MS_NOSUID | MS_NODEV, "size=4m");
        mountShare(share);
    }
    void TearDown() override { answerEveryStuckCall(); }
    ~StuckMount() override { answerEveryStuckCall(); }

    // The mount answers nothing until its connection is closed.
    void mountShare(const std::string& target)
    {
        const int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fd < 0)
            GTEST_SKIP() << "no /dev/fuse: " << std::strerror(errno);
        connections.push_back(fd);
        fs::create_directory(target);
        mounts.mount("user@server:/share", target, "fuse.sshfs", MS_NOSUID | MS_NODEV,
                     "fd=" + std::to_string(fd) + ",rootmode=40000,user_id=0,group_id=0");
    }

    // Closing a connection fails every call waiting on it.
    void answerEveryStuckCall()
    {
        for (const int fd : connections)
            ::close(fd);
        connections.clear();
    }

    test::TempFolder folder;
    test::Mounts mounts;
    std::vector<int> connections;
    const std::string healthy = folder / "disk";
    const std::string share = folder / "share";
};

TEST_F(StuckMount, ReadsNotReadyWhileOtherDrivesAreStillMeasured)
{
    // Long enough that a loaded machine still answers the healthy calls below within it.
    PosixVolumes volumes(1s);
    const auto drives = volumes.logicalDrives();
    EXPECT_NE(std::find(drives.begin(), drives.end(), share + "/"), drives.end());
    EXPECT_TRUE(volumes.isRemote(share + "/photos"));

    const DriveSpace first = volumes.drive(share);
    EXPECT_FALSE(first.ready);
    EXPECT_EQ(first.root, share + "/");
    EXPECT_EQ(first.path, share);
    // Refused at once while the abandoned call is still waiting.
    const DriveSpace again = volumes.drive(share + "/photos");
    EXPECT_FALSE(again.ready);
    EXPECT_EQ(again.root, share + "/");

    const DriveSpace local = volumes.drive(healthy);
    EXPECT_TRUE(local.ready);
    EXPECT_EQ(local.totalBytes, 4 * MiB);

    // Another share that may wait on its server is not tried while the helper is held up.
    const std::string otherShare = folder / "share2";
    mountShare(otherShare);
    const DriveSpace other = volumes.drive(otherShare);
    EXPECT_FALSE(other.ready);
    EXPECT_EQ(other.root, otherShare + "/");

    // The server is gone for good: the stuck call fails, the share is unmounted.
    answerEveryStuckCall();
    mounts.unmount(otherShare);
    mounts.unmount(share);
    const DriveSpace afterwards = volumes.drive(share);
    EXPECT_TRUE(afterwards.ready);
    EXPECT_EQ(afterwards.root, volumes.mountPointOf(folder.path().string()));
}

TEST_F(StuckMount, LayerCanBeDestroyedDuringAStuckCall)
{
    {
        PosixVolumes volumes(50ms);
        EXPECT_FALSE(volumes.drive(share).ready);
    }
    // Reaching this line is the test: the destructor did not wait for the share.
    PosixVolumes fresh;
    EXPECT_TRUE(fresh.drive(healthy).ready);
}

} // namespace
} // namespace volmara
