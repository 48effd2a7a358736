// The real program, offscreen, with a dead network share and a nearly full disk in its watch list:
// the share costs it nothing but a "not ready", the shortage is recorded, the watch goes on, and
// a SIGTERM still ends it at once with its settings saved.
#include "mount_namespace.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

template <typename Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return done();
}

// The real program in a folder of its own, with a nearly full 1 MiB tmpfs beside it.
class ProgramOnMounts : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::mountNamespaceProblem().empty())
            GTEST_SKIP() << test::mountNamespaceProblem();
        fs::create_directory(full);
        mounts.mount("tmpfs", full, "tmpfs", MS_NOSUID | MS_NODEV, "size=1m");
        test::fillFile(full + "/ballast", 700 * 1024);
    }

    // A FUSE mount whose daemon never answers, as a share whose server is gone.
    void mountDeadShare()
    {
        if (!test::hasRealRoot())
            GTEST_SKIP() << "a FUSE mount needs /dev/fuse, which only the real root may open";
        fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fuse < 0)
            GTEST_SKIP() << "no /dev/fuse: " << std::strerror(errno);
        fs::create_directory(share);
        mounts.mount("user@server:/share", share, "fuse.sshfs", MS_NOSUID | MS_NODEV,
                     "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0");
    }
    void TearDown() override
    {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        if (fuse >= 0)
            ::close(fuse); // every call still waiting on the share fails now
    }

    // The program runs from a folder of its own, so set.dat and log.dat are the test's.
    void start()
    {
        const fs::path program = folder.path() / "volmara";
        fs::copy_file(VOLMARA_PROGRAM, program);
        std::string path = program.string();
        std::string home = "HOME=" + folder.path().string();
        std::string runtime = "XDG_RUNTIME_DIR=" + folder.path().string();
        std::string platform = "QT_QPA_PLATFORM=offscreen";
        std::string pathVar = "PATH=/usr/bin:/bin";
        char* argv[] = {path.data(), nullptr};
        char* envp[] = {home.data(), runtime.data(), platform.data(), pathVar.data(), nullptr};
        ASSERT_EQ(::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, envp), 0);
    }

    bool exited(std::chrono::milliseconds within)
    {
        return waitFor(
            [&] {
                int status = 0;
                if (::waitpid(child, &status, WNOHANG) != child)
                    return false;
                child = -1;
                return true;
            },
            within);
    }

    test::TempFolder folder;
    test::Mounts mounts;
    const std::string full = folder / "full";
    const std::string share = folder / "share";
    int fuse = -1;
    pid_t child = -1;
};

TEST_F(ProgramOnMounts, DeadShareCostsNothingButNotReadyAndSigtermStillSaves)
{
    mountDeadShare();
    // Every tick checks (interval 0), the log is kept, and set.dat lacks keys a save writes.
    std::ofstream(folder / "set.dat", std::ios::binary)
        << "chkAutoSave=1\r\ntxtTime=0\r\n\r\nminspace=1000\r\n\r\npath=" << full << "/\r\n\r\npath=" << share
        << "/\r\n";
    std::ofstream(folder / "log.dat", std::ios::binary);
    start();

    const auto log = [&] { return readAll(folder / "log.dat"); };
    const std::string shortage = " - ALERT: Space Shortage < 1000 KB Drive: " + full + "[";
    // The first check comes one watch period (10 s) after start-up.
    ASSERT_TRUE(waitFor([&] { return occurrences(log(), shortage) >= 2; }, 25s))
        << "no shortage recorded; log.dat:\n" << log();
    // The record line and the end-of-check block; the next check adds its block again.
    ASSERT_TRUE(waitFor([&] { return occurrences(log(), shortage) >= 3; }, 20s))
        << "the watch stopped after its first check; log.dat:\n" << log();

    const auto asked = std::chrono::steady_clock::now();
    ASSERT_EQ(::kill(child, SIGTERM), 0);
    ASSERT_TRUE(exited(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s);
    const auto saved = readAll(folder / "set.dat");
    EXPECT_NE(saved.find("custtimeDTPI="), std::string::npos) << "set.dat was not saved at shut-down";
    EXPECT_NE(saved.find("path=" + full + "/\r\n"), std::string::npos);
    EXPECT_NE(saved.find("path=" + share + "/\r\n"), std::string::npos) << "the dead share lost its tick";
}

} // namespace
} // namespace volmara

namespace volmara {
namespace {

TEST_F(ProgramOnMounts, ShortageRunsTheTickedResponsesOnRealFiles)
{
    // Responses 0 (dialog), 2 (delete), 5 (sound) and 10 (pause), one listed file on the short
    // disk and one elsewhere.
    const std::string doomed = full + "/old.iso";
    test::fillFile(doomed, 64 * 1024);
    const std::string kept = folder / "kept.txt";
    std::ofstream(kept) << "kept";
    std::ofstream(folder / "set.dat", std::ios::binary)
        << "chkAutoSave=1\r\ntxtTime=0\r\n\r\nminspace=1000\r\n\r\npath=" << full
        << "/\r\n\r\nlstAct=0\r\n\r\nlstAct=2\r\n\r\nlstAct=5\r\n\r\nlstAct=10\r\n";
    std::ofstream(folder / "extra.dat", std::ios::binary) << "file=" << kept << "\r\nfile=" << doomed << "\r\n";
    std::ofstream(folder / "log.dat", std::ios::binary);
    start();

    const auto log = [&] { return readAll(folder / "log.dat"); };
    ASSERT_TRUE(waitFor([&] { return log().find("Program paused by user option to pause on alert event.") !=
                                     std::string::npos; },
                        30s))
        << "log.dat:\n" << log();
    EXPECT_FALSE(fs::exists(doomed)) << "the listed file of the short disk is still there";
    EXPECT_TRUE(fs::exists(kept)) << "a file of another disk was touched";
    const auto text = log();
    const auto alert = text.find(" - ALERT: Space Shortage < 1000 KB Drive: " + full + "[");
    const auto deleted = text.find("Auto Deleted Specified File: " + doomed);
    const auto paused = text.find("Program paused by user option to pause on alert event.");
    ASSERT_NE(alert, std::string::npos) << text;
    ASSERT_NE(deleted, std::string::npos) << text;
    EXPECT_LT(alert, deleted);
    EXPECT_LT(deleted, paused);

    // Paused: no further check comes, or its pause response would be recorded again.
    std::this_thread::sleep_for(14s);
    EXPECT_EQ(occurrences(log(), "Program paused by user option to pause on alert event."), 1);

    ASSERT_EQ(::kill(child, SIGTERM), 0);
    ASSERT_TRUE(exited(5s));
    // The list kept by the program no longer names the deleted file.
    const auto extra = readAll(folder / "extra.dat");
    EXPECT_EQ(extra.find(doomed), std::string::npos) << extra;
    EXPECT_NE(extra.find(kept), std::string::npos) << extra;
}

} // namespace
} // namespace volmara
