// A file system that never answers: a FUSE mount whose daemon never reads its requests, the way
// a network share behaves when its server is gone.
#include "mount_namespace.h"
#include "temp_folder.h"

#include "core/drive_probe.h"
#include "core/path_rules.h"
#include "core/task.h"
#include "fakes/manual_event_loop.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
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

// Probes the drives of `paths` side by side, as a check measures its entries, and waits (for real)
// until every answer is in.
std::vector<PathProbe> probeAll(test::ManualEventLoop& loop, ProbeServices sv, const std::vector<std::string>& paths)
{
    std::vector<PathProbe> probes(paths.size());
    std::size_t answered = 0;
    TaskScope scope;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        scope.spawn([](ProbeServices s, std::string path, PathProbe& out, std::size_t& count) -> Task<void> {
            out = co_await probePath(s, path, Counts::Take);
            ++count;
        }(sv, paths[i], probes[i], answered));
    }
    EXPECT_TRUE(loop.runUntil([&] { return answered == paths.size(); }, 10s));
    return probes;
}

TEST_F(StuckMount, OnlyTheDeadFileSystemsReadNotReady)
{
    test::ManualEventLoop loop;
    PosixVolumes volumes;
    PosixFiles files;
    PosixPathRules paths(volumes);
    PosixIoPool io(loop);
    const ProbeServices sv(io, volumes, files, paths);
    const std::string otherShare = folder / "share2";
    mountShare(otherShare);
    EXPECT_TRUE(volumes.isRemote(share + "/photos"));

    // Both dead shares miss the bound side by side; the healthy disk answers meanwhile.
    const auto started = std::chrono::steady_clock::now();
    const auto first = probeAll(loop, sv, {share, healthy, otherShare});
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(first[0].drive.ready);
    EXPECT_EQ(first[0].drive.root, share + "/");
    EXPECT_TRUE(first[1].drive.ready);
    EXPECT_EQ(first[1].drive.totalBytes, 4 * MiB);
    EXPECT_TRUE(first[1].counts.has_value());
    EXPECT_FALSE(first[2].drive.ready);
    EXPECT_LT(took, 2 * IoWorkers::defaultBound) << "the two dead shares were waited for one after the other";
    EXPECT_TRUE(io.stuck(share + "/"));
    EXPECT_TRUE(io.stuck(otherShare + "/"));

    // While the abandoned calls hang, the shares answer not ready at once and hold no more threads.
    EXPECT_EQ(io.abandonedCalls(), 2);
    const auto again = probeAll(loop, sv, {share + "/photos", healthy, otherShare});
    EXPECT_FALSE(again[0].drive.ready);
    EXPECT_TRUE(again[1].drive.ready);
    EXPECT_EQ(io.abandonedCalls(), 2);

    // The server is gone for good: the stuck calls fail, the shares are unmounted, and the paths
    // lie on the drive below once more.
    answerEveryStuckCall();
    EXPECT_TRUE(loop.runUntil([&] { return !io.stuck(share + "/") && !io.stuck(otherShare + "/"); }, 10s));
    mounts.unmount(otherShare);
    mounts.unmount(share);
    const auto afterwards = probeAll(loop, sv, {share});
    EXPECT_TRUE(afterwards[0].drive.ready);
    EXPECT_EQ(afterwards[0].drive.root, volumes.mountPointOf(folder.path().string()));
}

TEST_F(StuckMount, PoolCanBeDestroyedDuringAStuckCall)
{
    test::ManualEventLoop loop;
    PosixVolumes volumes;
    PosixFiles files;
    PosixPathRules paths(volumes);
    {
        PosixIoPool io(loop);
        const auto probes = probeAll(loop, ProbeServices(io, volumes, files, paths), {share});
        EXPECT_FALSE(probes[0].drive.ready);
        EXPECT_EQ(io.abandonedCalls(), 1);
    }
    // Reaching this line is the test: the destructor did not wait for the share.
    PosixIoPool fresh(loop);
    EXPECT_TRUE(probeAll(loop, ProbeServices(fresh, volumes, files, paths), {healthy})[0].drive.ready);
}

} // namespace
} // namespace volmara
