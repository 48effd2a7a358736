// A save killed at any moment leaves the old settings file or the new one, byte for byte.
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace volmara {
namespace {

namespace fs = std::filesystem;

// A set.dat-sized text of CR LF lines; the two versions differ in every line.
std::string settingsLike(char tag)
{
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "key" + std::to_string(i) + "=" + std::string(20, tag) + "\r\n";
    return text;
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(KillDuringSave, EverySurvivingFileIsTheOldOrTheNewOneWhole)
{
    test::TempFolder folder;
    const fs::path target = folder.path() / "set.dat";
    const std::string a = settingsLike('a');
    const std::string b = settingsLike('b');
    std::ofstream(target, std::ios::binary) << a;

    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int kills = 0;
    for (; kills < 1000 && std::chrono::steady_clock::now() < deadline; ++kills) {
        std::string program = VOLMARA_SAVE_LOOP;
        std::string file = target.string();
        std::string contentA = a;
        std::string contentB = b;
        char* argv[] = {program.data(), file.data(), contentA.data(), contentB.data(), nullptr};
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ), 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself";

        const std::string survived = readAll(target);
        ASSERT_TRUE(survived == a || survived == b) << "after kill " << kills << ", set.dat holds "
                                                     << survived.size() << " bytes of neither version";
    }
    EXPECT_GE(kills, 100) << "too few kills in the time allowed to mean anything";

    // Leftovers of killed saves are hidden temporaries that nothing reads as settings.
    const std::regex temporary(R"(\.set\.dat\.[0-9]+\.tmp)");
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        const auto name = entry.path().filename().string();
        if (name != "set.dat") {
            EXPECT_TRUE(std::regex_match(name, temporary)) << name;
        }
    }
}

} // namespace
} // namespace volmara
