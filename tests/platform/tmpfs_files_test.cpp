// Saving files on a real, size-limited tmpfs that runs full.
#include "mount_namespace.h"
#include "temp_folder.h"

#include "core/error.h"
#include "platform/posix/files_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <sys/mount.h>
#include <sys/stat.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string errorOf(auto&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.description();
    }
    return "no error";
}

// A private 256 KiB tmpfs for each test; the tests skip where no mount namespace can be had.
class TmpfsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        fs::create_directory(mnt);
        mounts.mount("tmpfs", mnt, "tmpfs", MS_NOSUID | MS_NODEV, "size=256k");
    }

    test::TempFolder folder;
    test::Mounts mounts;
    const std::string mnt = folder / "mnt";
};

TEST_F(TmpfsFiles, SaveOnAFullVolumeLeavesTheOldFileWhole)
{

    PosixFiles files;
    const std::string settings = mnt + "/set.dat";
    std::string old;
    for (int i = 0; i < 2000; ++i)
        old += "txtSpace=" + std::to_string(i) + "\r\n";
    files.replaceFile(settings, old, Files::Privacy::OwnerOnly);

    test::fillFile(mnt + "/filler", 64 * 1024 * 1024);
    const std::string bigger(64 * 1024, 'x');
    EXPECT_EQ(errorOf([&] { files.replaceFile(settings, bigger, Files::Privacy::OwnerOnly); }), "Disk full");
    EXPECT_TRUE(files.readFile(settings) == old) << "the old settings are no longer whole";
    EXPECT_EQ(namesIn(mnt), (std::set<std::string>{"filler", "set.dat"})) << "no temporary file is left behind";
    EXPECT_EQ(errorOf([&] { files.appendFile(mnt + "/log.dat", "line\r\n"); }), "Disk full");

    fs::remove(mnt + "/filler");
    files.replaceFile(settings, bigger, Files::Privacy::OwnerOnly);
    EXPECT_TRUE(files.readFile(settings) == bigger);
    EXPECT_EQ(fs::status(settings).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(TmpfsFiles, AppendThatRunsOutOfRoomLeavesTheLogAsItWas)
{

    PosixFiles files;
    const std::string log = mnt + "/log.dat";
    files.appendFile(log, "20261210 09:30 | High | first\r\n");
    const auto before = files.readFile(log);
    // Leave a gap of a few pages: the block below fits partly, then the disk is full.
    test::fillFile(mnt + "/gap", 16 * 1024);
    test::fillFile(mnt + "/filler", 64 * 1024 * 1024);
    fs::remove(mnt + "/gap");

    EXPECT_EQ(errorOf([&] { files.appendFile(log, std::string(128 * 1024, 'n')); }), "Disk full");
    EXPECT_TRUE(files.readFile(log) == before) << "a torn block stayed in the log";
}

} // namespace
} // namespace volmara
