// Moving, trashing and deleting across two real file systems (tmpfs mounts of a private namespace).
#include "mount_namespace.h"
#include "temp_folder.h"

#include "core/error.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/trash_posix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <sys/mount.h>
#include <unistd.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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

std::string patterned(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + i / 4096) & 0xFF);
    return bytes;
}

// Drive A (64 MiB) and a small drive B (1 MiB), each its own file system.
class TwoFileSystems : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        fs::create_directory(a);
        fs::create_directory(b);
        mounts.mount("tmpfs", a, "tmpfs", MS_NOSUID | MS_NODEV, "size=64m");
        mounts.mount("tmpfs", b, "tmpfs", MS_NOSUID | MS_NODEV, "size=1m");
    }

    test::TempFolder folder;
    test::Mounts mounts;
    const std::string a = folder / "a";
    const std::string b = folder / "b";
    PosixFiles files;
};

TEST_F(TwoFileSystems, AMoveCopiesWholeThenLetsTheSourceGo)
{
    const auto content = patterned(700 * 1024);
    writeText(a + "/big.bin", content);
    fs::permissions(a + "/big.bin", fs::perms::owner_read | fs::perms::group_read);
    WorkProgress progress;
    files.moveFile(a + "/big.bin", b + "/big.bin", progress);
    EXPECT_FALSE(fs::exists(a + "/big.bin"));
    EXPECT_TRUE(readText(b + "/big.bin") == content);
    EXPECT_EQ(fs::status(b + "/big.bin").permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(namesIn(b), std::set<std::string>{"big.bin"}) << "no temporary name is left";
    EXPECT_EQ(progress.done, content.size());
    EXPECT_EQ(progress.total, content.size());

    fs::create_symlink("/somewhere/else", a + "/link");
    files.moveFile(a + "/link", b + "/link", progress);
    EXPECT_EQ(fs::read_symlink(b + "/link"), "/somewhere/else") << "a link moves as a link";
    EXPECT_FALSE(fs::exists(fs::symlink_status(a + "/link")));
}

TEST_F(TwoFileSystems, ACopyThatFailsOrIsCancelledLeavesTheSourceWhole)
{
    const auto content = patterned(2 * 1024 * 1024);
    writeText(a + "/big.bin", content);
    WorkProgress progress;
    EXPECT_EQ(errorOf([&] { files.moveFile(a + "/big.bin", b + "/big.bin", progress); }), "Disk full");
    EXPECT_TRUE(readText(a + "/big.bin") == content);
    EXPECT_TRUE(namesIn(b).empty()) << "the partial copy is taken away";

    writeText(a + "/small", "small");
    WorkProgress cancelled;
    cancelled.cancelled = true;
    EXPECT_EQ(errorOf([&] { files.moveFile(a + "/small", b + "/small", cancelled); }), "Move cancelled");
    EXPECT_EQ(readText(a + "/small"), "small");
    EXPECT_TRUE(namesIn(b).empty());

    writeText(b + "/small", "there");
    WorkProgress fresh;
    EXPECT_EQ(errorOf([&] { files.moveFile(a + "/small", b + "/small", fresh); }), "Path/File access error")
        << "an existing target is never replaced";
    EXPECT_EQ(readText(b + "/small"), "there");
}

TEST_F(TwoFileSystems, AForcedDeleteStopsAtAnotherFileSystem)
{
    fs::create_directories(a + "/tree/mnt");
    writeText(a + "/tree/one", "1");
    mounts.mount("tmpfs", a + "/tree/mnt", "tmpfs", MS_NOSUID | MS_NODEV, "size=64k");
    writeText(a + "/tree/mnt/other", "other file system");
    EXPECT_EQ(errorOf([&] { files.deleteFolder(a + "/tree"); }), "Path/File access error");
    EXPECT_EQ(readText(a + "/tree/mnt/other"), "other file system");
    EXPECT_FALSE(fs::exists(a + "/tree/one"));
    EXPECT_EQ(files.folderSize(a + "/tree"), 0u) << "the walk does not enter the other mount either";
}

TEST_F(TwoFileSystems, TrashOfAnotherFileSystemIsItsOwnAndEmptyingTakesBoth)
{
    test::TempFolder home;
    PosixTrash bin(home / "data");
    writeText(folder / "here.txt", "home file system");
    writeText(a + "/there.txt", "drive a");
    fs::create_directory(a + "/sub");
    writeText(a + "/sub/deep.txt", "deeper");
    bin.moveToTrash(folder / "here.txt");
    bin.moveToTrash(a + "/there.txt");
    bin.moveToTrash(a + "/sub/deep.txt");

    const std::string own = a + "/.Trash-" + std::to_string(::geteuid());
    EXPECT_EQ(namesIn(bin.homeTrash() + "/files"), std::set<std::string>{"here.txt"});
    EXPECT_EQ(namesIn(own + "/files"), (std::set<std::string>{"there.txt", "deep.txt"}));
    EXPECT_NE(readText(own + "/info/deep.txt.trashinfo").find("\nPath=sub/deep.txt\n"), std::string::npos)
        << "relative to the top of its file system";
    EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);

    const auto folders = bin.trashFolders("");
    EXPECT_NE(std::find(folders.begin(), folders.end(), own), folders.end());
    const auto ofA = bin.trashFolders(a + "/sub");
    EXPECT_EQ(std::find(ofA.begin(), ofA.end(), bin.homeTrash()), ofA.end()) << "drive A's only";
    // Only the trash folders this test made: the machine's own stay as they are.
    for (const auto& trash : folders) {
        WorkProgress progress;
        if (fs::exists(trash) && (trash == bin.homeTrash() || trash.starts_with(a + "/"))) {
            EXPECT_TRUE(bin.emptyTrashFolder(trash, progress)) << trash;
        }
    }
    EXPECT_TRUE(namesIn(bin.homeTrash() + "/files").empty());
    EXPECT_TRUE(namesIn(own + "/files").empty());
    EXPECT_TRUE(namesIn(own + "/info").empty());
}

TEST_F(TwoFileSystems, TheSharedTrashIsUsedOnlyWhenItIsSticky)
{
    test::TempFolder home;
    PosixTrash bin(home / "data");
    fs::create_directory(a + "/.Trash");
    writeText(a + "/one", "1");
    bin.moveToTrash(a + "/one");
    EXPECT_TRUE(fs::exists(a + "/.Trash-" + std::to_string(::geteuid()) + "/files/one")) << "not sticky: not used";

    fs::permissions(a + "/.Trash", fs::perms::all | fs::perms::sticky_bit);
    writeText(a + "/two", "2");
    bin.moveToTrash(a + "/two");
    EXPECT_TRUE(fs::exists(a + "/.Trash/" + std::to_string(::geteuid()) + "/files/two"));
}

} // namespace
} // namespace volmara
