// Facts, forced deletes and moves of real files in a temporary folder.
#include "platform/posix/files_posix.h"

#include "core/error.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

class FileOperations : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::TempFolder outside;
    PosixFiles files;
};

TEST_F(FileOperations, FactsOfFilesFoldersLinksAndNothing)
{
    const auto text = folder / "notes.txt";
    writeText(text, std::string(1536, 'a'));
    const auto facts = files.pathFacts(text);
    EXPECT_EQ(facts.kind, PathKind::File);
    EXPECT_EQ(facts.size, 1536u);
    ASSERT_TRUE(facts.modified);
    EXPECT_GE(facts.modified->year, 2024);
    EXPECT_EQ(files.typeName(text), "plain text document");

    fs::create_symlink(text, folder / "link");
    const auto linked = files.pathFacts(folder / "link");
    EXPECT_EQ(linked.kind, PathKind::File);
    EXPECT_TRUE(linked.link);
    fs::create_symlink(folder / "nothing", folder / "dangling");
    EXPECT_EQ(files.pathFacts(folder / "dangling").kind, PathKind::Missing);
    EXPECT_EQ(files.pathFacts(folder.path().string()).kind, PathKind::Folder);
}

TEST_F(FileOperations, FolderSizeCountsFilesBelowWithoutFollowingLinks)
{
    fs::create_directories(folder.path() / "a" / "b");
    writeText(folder / "a/one", std::string(1000, 'x'));
    writeText(folder / "a/b/two", std::string(24, 'x'));
    writeText(outside / "big", std::string(100000, 'x'));
    fs::create_symlink(outside.path(), folder.path() / "a" / "elsewhere");
    fs::create_symlink(outside / "big", folder / "a/big");
    EXPECT_EQ(files.folderSize(folder / "a"), 1024u);
    EXPECT_EQ(errorOf([&] { files.folderSize(folder / "none"); }), "Path not found");
}

TEST_F(FileOperations, ForcedDeleteRemovesLinksNotWhatTheyPointTo)
{
    const auto doomed = folder.path() / "doomed";
    fs::create_directories(doomed / "locked" / "deep");
    writeText((doomed / "locked" / "deep" / "f").string(), "x");
    ::chmod((doomed / "locked").c_str(), 0500); // read-only content goes too
    writeText(outside / "precious", "keep me");
    fs::create_symlink(outside.path(), doomed / "to-outside");
    fs::create_symlink(outside / "precious", doomed / "to-file");

    files.deleteFolder(doomed.string());
    EXPECT_FALSE(fs::exists(fs::symlink_status(doomed)));
    EXPECT_EQ(readText(outside / "precious"), "keep me");

    // A listed folder that is itself a link: the link goes, the folder stays.
    fs::create_symlink(outside.path(), folder.path() / "alias");
    files.deleteFolder(folder / "alias");
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.path() / "alias")));
    EXPECT_EQ(readText(outside / "precious"), "keep me");
}

TEST_F(FileOperations, MoveWithinAFileSystemNeverReplaces)
{
    writeText(folder / "a", "first");
    writeText(folder / "b", "second");
    WorkProgress progress;
    EXPECT_EQ(errorOf([&] { files.moveFile(folder / "a", folder / "b", progress); }), "Path/File access error");
    EXPECT_EQ(readText(folder / "a"), "first");
    EXPECT_EQ(readText(folder / "b"), "second");
    EXPECT_EQ(errorOf([&] { files.moveFile(folder / "none", folder / "c", progress); }), "File not found");

    files.moveFile(folder / "a", outside / "a", progress);
    EXPECT_EQ(readText(outside / "a"), "first");
    EXPECT_FALSE(fs::exists(folder / "a"));
    EXPECT_EQ(progress.done, 5u);
}

} // namespace
} // namespace volmara
