#include "platform/posix/files_posix.h"

#include "core/error.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include <sys/resource.h>
#include <sys/stat.h>

#include <ctime>
#include <fcntl.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using Privacy = Files::Privacy;

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

fs::perms permissionsOf(const std::string& path)
{
    return fs::status(path).permissions();
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

class PosixFilesTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    PosixFiles files;
};

TEST_F(PosixFilesTest, FolderCountsDirectEntriesWithoutFollowingLinks)
{
    const fs::path watched = folder.path() / "watched";
    fs::create_directories(watched / "sub1" / "nested");
    fs::create_directory(watched / "sub2");
    writeText((watched / "a.txt").string(), "a");
    writeText((watched / ".hidden").string(), "h");
    writeText((watched / "sub1" / "not-counted.txt").string(), "n");
    fs::create_directory_symlink(watched / "sub2", watched / "link-to-folder");
    fs::create_symlink(watched / "missing", watched / "dangling-link");
    ASSERT_EQ(::mkfifo((watched / "pipe").c_str(), 0600), 0);

    const auto counts = files.folderCounts(watched.string());
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->files, 5u) << "a.txt, .hidden, two links and the pipe";
    EXPECT_EQ(counts->folders, 2u);

    // The folder named by a link is the folder the user watches.
    fs::create_directory_symlink(watched, folder.path() / "watched-link");
    const auto throughLink = files.folderCounts(folder / "watched-link");
    ASSERT_TRUE(throughLink);
    EXPECT_EQ(throughLink->files, 5u);

    const auto empty = files.folderCounts((watched / "sub2").string());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->files + empty->folders, 0u);

    for (const std::string& unopenable : {(watched / "a.txt").string(), folder / "no-such-folder", std::string()}) {
        SCOPED_TRACE(unopenable);
        EXPECT_FALSE(files.folderCounts(unopenable));
    }
}

TEST_F(PosixFilesTest, FilesModifiedSinceListsPlainFilesDirectlyInside)
{
    const fs::path watched = folder.path() / "watched";
    fs::create_directories(watched / "sub");
    for (const char* name : {"old.txt", "new.txt", ".hidden", "sub/inner.txt"})
        writeText((watched / name).string(), "x");
    fs::create_symlink(watched / "new.txt", watched / "link");
    // Local times: 2026-01-01 12:00:00 for the old file, a day later for the others.
    const auto at = [](int day) {
        std::tm local{};
        local.tm_year = 126;
        local.tm_mday = day;
        local.tm_hour = 12;
        local.tm_isdst = -1;
        return std::mktime(&local);
    };
    const auto stamp = [&](const char* name, int day) {
        const timespec times[2] = {{at(day), 0}, {at(day), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (watched / name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << name;
    };
    stamp("old.txt", 1);
    for (const char* name : {"new.txt", ".hidden", "sub/inner.txt", "link"})
        stamp(name, 2);

    const auto found = files.filesModifiedSince(watched.string(), DateTime{2026, 1, 2, 12, 0, 0});
    ASSERT_TRUE(found);
    std::set<std::string> names;
    for (const auto& file : *found) {
        names.insert(file.name);
        EXPECT_EQ(file.modified, (DateTime{2026, 1, 2, 12, 0, 0})) << file.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"new.txt", ".hidden"}));
    EXPECT_FALSE(files.filesModifiedSince((folder.path() / "none").string(), DateTime{}));
}

TEST_F(PosixFilesTest, ExistenceTellsFilesFromFolders)
{
    writeText(folder / "file", "x");
    fs::create_directory(folder / "dir");
    fs::create_directory_symlink(folder / "dir", folder / "dir-link");
    fs::create_symlink(folder / "file", folder / "file-link");
    fs::create_symlink(folder / "gone", folder / "dangling");

    const struct {
        std::string path;
        bool file;
        bool folder;
    } cases[] = {
        {folder / "file", true, false},      {folder / "dir", false, true},
        {folder / "dir-link", false, true},  {folder / "file-link", true, false},
        {folder / "dangling", false, false}, {folder / "missing", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.fileExists(c.path), c.file);
        EXPECT_EQ(files.folderExists(c.path), c.folder);
    }
}

TEST_F(PosixFilesTest, ReadAndAppendKeepEveryByte)
{
    const std::string log = folder / "log.dat";
    EXPECT_FALSE(files.readFile(log));
    EXPECT_FALSE(files.readFile(folder.path().string())) << "a folder is not a readable file";

    const std::string first("20240101 10:00 | High | a\r\n", 27);
    const std::string second("with\0nul\r\n", 10);
    files.appendFile(log, first);
    files.appendFile(log, second);
    EXPECT_EQ(files.readFile(log), first + second);

    const std::string large(300 * 1024, 'z');
    files.appendFile(log, large);
    EXPECT_EQ(files.readFile(log)->size(), first.size() + second.size() + large.size());

    EXPECT_EQ(errorOf([&] { files.appendFile(folder / "no-folder/log.dat", "x"); }), "Path not found");
    EXPECT_EQ(errorOf([&] { files.appendFile(folder.path().string(), "x"); }), "Path/File access error");
}

TEST_F(PosixFilesTest, ReplaceSwapsTheWholeFileAndSetsItsMode)
{
    const std::string settings = folder / "set.dat";
    writeText(settings, "old content that is longer than the new one\r\n");
    fs::permissions(settings, fs::perms(0644));

    files.replaceFile(settings, "new\r\n", Privacy::OwnerOnly);
    EXPECT_EQ(files.readFile(settings), "new\r\n");
    EXPECT_EQ(permissionsOf(settings), fs::perms(0600)) << "the mail password must not stay world-readable";

    const std::string other = folder / "clen.dat";
    writeText(other, "x");
    fs::permissions(other, fs::perms(0640));
    files.replaceFile(other, "y", Privacy::Normal);
    EXPECT_EQ(files.readFile(other), "y");
    EXPECT_EQ(permissionsOf(other), fs::perms(0640)) << "a normal replace keeps the mode the user set";

    const mode_t mask = ::umask(022);
    files.replaceFile(folder / "fresh.dat", "", Privacy::Normal);
    ::umask(mask);
    EXPECT_EQ(files.readFile(folder / "fresh.dat"), "");
    EXPECT_EQ(permissionsOf(folder / "fresh.dat"), fs::perms(0644));

    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"clen.dat", "fresh.dat", "set.dat"}));
}

TEST_F(PosixFilesTest, ReplaceThroughALinkKeepsTheLink)
{
    fs::create_directory(folder / "real");
    writeText(folder / "real/set.dat", "old");
    fs::create_symlink(folder / "real/set.dat", folder / "set.dat");

    files.replaceFile(folder / "set.dat", "new", Privacy::OwnerOnly);
    EXPECT_TRUE(fs::is_symlink(folder / "set.dat"));
    EXPECT_EQ(files.readFile(folder / "real/set.dat"), "new");
    EXPECT_EQ(namesIn(folder.path() / "real"), (std::set<std::string>{"set.dat"}));
}

TEST_F(PosixFilesTest, FailedReplaceLeavesTheOldFileAndNoTemporary)
{
    const std::string settings = folder / "set.dat";
    writeText(settings, "old");
    fs::create_directory(folder / "a-folder");

    EXPECT_EQ(errorOf([&] { files.replaceFile(folder / "no-folder/set.dat", "x", Privacy::OwnerOnly); }),
              "Path not found");
    EXPECT_EQ(errorOf([&] { files.replaceFile(folder / "a-folder", "x", Privacy::Normal); }),
              "Path/File access error");
    EXPECT_TRUE(fs::is_directory(folder / "a-folder"));

    // A write that fails half-way: the file size limit stops it like a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string failure = errorOf([&] { files.replaceFile(settings, std::string(64 * 1024, 'n'), Privacy::OwnerOnly); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_NE(failure, "no error");
    EXPECT_EQ(files.readFile(settings), "old");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"a-folder", "set.dat"}));
}

TEST_F(PosixFilesTest, RemoveDeletesOrSaysWhy)
{
    const std::string file = folder / "old.log";
    writeText(file, "x");
    files.removeFile(file);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(errorOf([&] { files.removeFile(file); }), "File not found");
    EXPECT_EQ(errorOf([&] { files.removeFile(folder / "no-folder/x"); }), "File not found");
}

} // namespace
} // namespace volmara
