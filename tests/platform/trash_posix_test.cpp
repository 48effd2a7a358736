// The desktop trash under a temporary home: what lands where, and what emptying leaves.
#include "platform/posix/trash_posix.h"

#include "core/error.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

namespace volmara {
namespace {

namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    if (fs::exists(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
    return names;
}

// HOME and XDG_DATA_HOME point into a temporary folder while a test runs.
class HomeTrash : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
        ::setenv("HOME", (home / "").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1); // not there yet: made on the first use
    }
    void TearDown() override
    {
        ::unsetenv("HOME");
        ::unsetenv("XDG_DATA_HOME");
        for (const auto& [name, value] : saved_)
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    fs::path trash() const { return fs::path(home / "data") / "Trash"; }

    test::TempFolder home;
    test::TempFolder work;

private:
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(HomeTrash, AFileLandsWithItsInfoAndANameClashGetsANumber)
{
    PosixTrash bin;
    EXPECT_EQ(bin.homeTrash(), (trash()).string());
    fs::create_directory(work.path() / "a b");
    writeText(work / "a b/ü%.txt", "first");
    bin.moveToTrash(work / "a b/ü%.txt");
    writeText(work / "a b/ü%.txt", "second");
    bin.moveToTrash(work / "a b/ü%.txt");

    EXPECT_FALSE(fs::exists(work / "a b/ü%.txt"));
    EXPECT_EQ(namesIn(trash() / "files"), (std::set<std::string>{"ü%.txt", "ü%.txt.2"}));
    EXPECT_EQ(namesIn(trash() / "info"), (std::set<std::string>{"ü%.txt.trashinfo", "ü%.txt.2.trashinfo"}));
    EXPECT_EQ(readText((trash() / "files" / "ü%.txt.2").string()), "second");
    const auto info = readText((trash() / "info" / "ü%.txt.trashinfo").string());
    const std::regex layout("\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(info, parts, layout)) << info;
    EXPECT_EQ(parts[1].str(), trashInfoEncode(work / "a b/ü%.txt"));
    EXPECT_EQ(trashInfoEncode("/a b/ü%.txt"), "/a%20b/%C3%BC%25.txt");
    EXPECT_EQ(fs::status(trash()).permissions(), fs::perms::owner_all);
}

TEST_F(HomeTrash, AFolderIsCountedInDirectorySizesAndEmptyingClearsEverything)
{
    PosixTrash bin;
    fs::create_directories(work.path() / "old" / "inner");
    writeText(work / "old/inner/data", std::string(10000, 'x'));
    writeText(work / "outside", "stays");
    fs::create_symlink(work / "outside", work / "old/link");
    bin.moveToTrash(work / "old");

    const auto sizes = readText((trash() / "directorysizes").string());
    const std::regex line("(\\d+) (\\d+) old\n");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(sizes, parts, line)) << sizes;
    EXPECT_GE(std::stoull(parts[1].str()), 10000u);

    const auto folders = bin.trashFolders("");
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), trash().string()) << "the home trash comes first";
    WorkProgress progress;
    EXPECT_TRUE(bin.emptyTrashFolder(trash().string(), progress));
    EXPECT_TRUE(namesIn(trash() / "files").empty());
    EXPECT_TRUE(namesIn(trash() / "info").empty());
    EXPECT_FALSE(fs::exists(trash() / "directorysizes"));
    EXPECT_EQ(progress.done, 1u);
    EXPECT_EQ(readText(work / "outside"), "stays") << "a link in the trash is removed, not followed";

    EXPECT_FALSE(bin.emptyTrashFolder((work.path() / "not-a-trash").string(), progress));
    fs::create_symlink(trash(), work.path() / "linked-trash");
    EXPECT_FALSE(bin.emptyTrashFolder((work.path() / "linked-trash").string(), progress)) << "never through a link";
}

TEST_F(HomeTrash, AMissingPathSaysSo)
{
    PosixTrash bin;
    try {
        bin.moveToTrash(work / "nothing");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.description(), "File not found");
    }
}

} // namespace
} // namespace volmara
