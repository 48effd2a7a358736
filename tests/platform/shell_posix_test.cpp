// Programs really start: tiny scripts write down how they were called.
#include "platform/posix/shell_posix.h"

#include "core/error.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace volmara {
namespace {

namespace fs = std::filesystem;

void writeScript(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, fs::perms::owner_all);
}

// What a started program wrote, once it has written it (a few seconds at most).
std::string awaitedText(const std::string& path)
{
    for (int i = 0; i < 500 && !fs::exists(path + ".done"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

class PosixShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Records its arguments, one a line, then says it is done.
        const std::string record = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> \"" + (folder / "record") +
                                   "\"; done\ntouch \"" + (folder / "record") + ".done\"\n";
        writeScript(folder / "program", record);
        writeScript(folder / "opener", record);
    }

    test::TempFolder folder;
};

TEST_F(PosixShellTest, AnExecutableStartsWithItsParametersAndNoShellReadsThem)
{
    PosixShell shell(folder / "opener");
    shell.start(folder / "program", {"0", "$(touch " + (folder / "injected") + ")", "a b"});
    EXPECT_EQ(awaitedText(folder / "record"), "0\n$(touch " + (folder / "injected") + ")\na b\n");
    EXPECT_FALSE(fs::exists(folder / "injected"));
}

TEST_F(PosixShellTest, ADocumentOpensThroughTheOpener)
{
    std::ofstream(folder / "notes.txt") << "text";
    PosixShell shell(folder / "opener");
    shell.start(folder / "notes.txt", {"0"});
    EXPECT_EQ(awaitedText(folder / "record"), folder / "notes.txt" + "\n");
}

TEST_F(PosixShellTest, AProgramThatCannotStartSaysWhy)
{
    PosixShell shell(folder / "opener");
    EXPECT_EQ(errorOf([&] { shell.start(folder / "none", {}); }), "File not found");
    writeScript(folder / "plain", "echo no interpreter line\n");
    EXPECT_EQ(errorOf([&] { shell.start(folder / "plain", {}); }), "Exec format error");

    PosixShell without("volmara-no-such-opener");
    EXPECT_EQ(errorOf([&] { without.open("trash:///"); }),
              "The desktop's opener volmara-no-such-opener is not installed");
    EXPECT_EQ(errorOf([&] { without.showProperties(PropertiesRequest{"/x", {}}); }),
              "No window system to show the properties of /x");
}

TEST_F(PosixShellTest, ProgramsAreFoundOnTheSearchPath)
{
    PosixShell shell;
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", ("/nonexistent:" + folder.path().string()).c_str(), 1);
    EXPECT_EQ(shell.findProgram("program"), folder / "program");
    EXPECT_EQ(shell.findProgram("record"), std::nullopt);
    ::setenv("PATH", saved.c_str(), 1);
}

} // namespace
} // namespace volmara
