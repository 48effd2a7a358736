// The dialog over the real Linux layer and the real I/O workers, with a file system that never
// answers: a FUSE mount whose daemon never reads its requests, as a share whose server is gone.
#include "mount_namespace.h"
#include "temp_folder.h"

#include "driveinfo/drive_info_model.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/driveinfo/posix_raw_volumes.h"
#include "platform/posix/driveinfo/posix_volume_info.h"
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
using Change = DriveInfoModel::Change;

class StuckDrive : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        if (!test::hasRealRoot())
            GTEST_SKIP() << "a FUSE mount needs /dev/fuse, which only the real root may open";
        fs::create_directory(healthy);
        mounts.mount("tmpfs", healthy, "tmpfs", MS_NOSUID | MS_NODEV, "size=4m");
        connection = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (connection < 0)
            GTEST_SKIP() << "no /dev/fuse: " << std::strerror(errno);
        fs::create_directory(share);
        mounts.mount("user@server:/share", share, "fuse.sshfs", MS_NOSUID | MS_NODEV,
                     "fd=" + std::to_string(connection) + ",rootmode=40000,user_id=0,group_id=0");
    }
    // Closing the connection fails every call still waiting on the share.
    void TearDown() override { answerStuckCalls(); }
    ~StuckDrive() override { answerStuckCalls(); }

    void answerStuckCalls()
    {
        if (connection >= 0)
            ::close(connection);
        connection = -1;
    }

    test::TempFolder folder;
    test::Mounts mounts;
    int connection = -1;
    const std::string healthy = folder / "disk";
    const std::string share = folder / "share";
};

std::size_t indexOf(const DriveChoice& choice, const std::string& drive)
{
    const auto found = std::find(choice.drives.begin(), choice.drives.end(), drive);
    EXPECT_NE(found, choice.drives.end()) << drive << " is not listed";
    return static_cast<std::size_t>(found - choice.drives.begin());
}

TEST_F(StuckDrive, DeadShareReadsAsUnknownWhileTheOtherDrivesAnswer)
{
    test::ManualEventLoop loop;
    test::ScriptedDialogs dialogs{loop};
    PosixVolumes volumes;
    PosixRawVolumes rawVolumes;
    PosixVolumeInfo volumeInfo;
    PosixIoPool io(loop);
    WatchList watchList;
    DriveInfoModel model{{watchList, volumes, rawVolumes, volumeInfo, dialogs, io, Locale{}}};
    int answers = 0;
    model.setListener([&](Change change) { answers += change == Change::Attributes ? 1 : 0; });
    // A click returns without waiting on the drive; its answer comes through the loop.
    const auto click = [&](const std::string& drive) {
        const int before = answers;
        model.cboDrives_Click(indexOf(model.cboDrives(), drive));
        EXPECT_TRUE(loop.runUntil([&] { return answers > before; }, 10s)) << drive;
    };
    model.show();
    model.Combo1_Click(DriveInfoPage::DriveAttributeInfo);
    ASSERT_TRUE(loop.runUntil([&] { return answers == 1; }, 10s));

    const std::array<std::string, 7> unknown{"Unknown", "0", "0", "0", "0", "0", "0"};
    click(share + "/");
    EXPECT_EQ(model.lblInfo(), unknown);
    EXPECT_TRUE(io.stuck(share + "/"));

    // While the share hangs, the other drive is measured.
    click(healthy + "/");
    EXPECT_EQ(model.lblInfo()[0], "Ram Disk");
    const std::uint64_t bytes = std::stoull(model.lblInfo()[1]) * std::stoull(model.lblInfo()[2]);
    EXPECT_EQ(std::stoull(model.lblInfo()[4]) * bytes, 4u * 1024 * 1024);

    // A share still stuck is not asked again: it answers not ready at once.
    click(share + "/");
    EXPECT_EQ(model.lblInfo(), unknown);
    EXPECT_EQ(io.abandonedCalls(), 1);
}

} // namespace
} // namespace volmara
