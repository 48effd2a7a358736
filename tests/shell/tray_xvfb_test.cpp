// The real program on an X server with a tray host (Xvfb and trayer): its icon is embedded in the
// tray at start-up and goes with the program. Skipped, with the reason, where the machine lacks
// the X server, the tray host or the X tree tool.
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace volmara {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::optional<std::string> onPath(const std::string& name)
{
    for (const char* folder : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        const auto path = std::string(folder) + "/" + name;
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return std::nullopt;
}

template <typename Predicate>
bool waitFor(Predicate done, std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return done();
}

// A child process, ended (and reaped) with the object.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    bool start(std::vector<std::string> args, std::vector<std::string> env, int keepFd = -1)
    {
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        posix_spawn_file_actions_adddup2(&actions, null, 1);
        posix_spawn_file_actions_adddup2(&actions, null, 2);
        (void)keepFd; // inherited: it is opened without close-on-exec
        const bool ok = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(null);
        if (!ok)
            pid_ = -1;
        return ok;
    }

    // Ends it with `signal` and waits up to `within`; false when it had to be killed.
    bool stop(int signal = SIGTERM, std::chrono::milliseconds within = 5s)
    {
        if (pid_ <= 0)
            return true;
        ::kill(pid_, signal);
        const bool ended = waitFor([&] { return ::waitpid(pid_, nullptr, WNOHANG) == pid_; }, within);
        if (!ended) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
        return ended;
    }
    bool running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};

class TrayOnX : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "trayer", "xwininfo"}) {
            if (!onPath(tool))
                GTEST_SKIP() << tool << " is not installed (Xvfb: xvfb, trayer: trayer, xwininfo: x11-utils)";
        }
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        // Xvfb picks a free display and writes its number to the pipe.
        const bool started = xvfb.start({*onPath("Xvfb"), "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                         "800x600x24", "-nolisten", "tcp"},
                                        {}, fds[1]);
        ::close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (started && ::poll(&p, 1, 10000) > 0) {
            char c = 0;
            if (::read(fds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        ::close(fds[0]);
        if (number.empty())
            GTEST_SKIP() << "Xvfb did not start on this machine";
        display = ":" + number;

        ASSERT_TRUE(trayer.start({*onPath("trayer"), "--edge", "top", "--align", "right", "--widthtype", "pixel",
                                  "--width", "200", "--height", "32"},
                                 {"DISPLAY=" + display}));
        if (!waitFor([&] { return tree().find("(\"panel\" \"trayer\")") != std::string::npos; }, 10s))
            GTEST_SKIP() << "trayer did not put its panel on " << display;
    }

    std::string tree() const
    {
        const auto command = "DISPLAY=" + display + " " + *onPath("xwininfo") + " -root -tree 2>/dev/null";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            while (const auto n = std::fread(buffer, 1, sizeof(buffer), pipe))
                out.append(buffer, n);
            ::pclose(pipe);
        }
        return out;
    }

    // A window of the program inside the tray host's panel: the embedded icon.
    bool iconInTray() const
    {
        std::istringstream in(tree());
        std::string line;
        // Lines deeper than the panel's belong to its subtree.
        constexpr auto kNone = std::string::npos;
        std::size_t panelIndent = kNone;
        while (std::getline(in, line)) {
            const auto indent = line.find_first_not_of(' ');
            if (indent == kNone)
                continue;
            if (panelIndent != kNone && indent <= panelIndent)
                panelIndent = kNone;
            if (line.find("(\"panel\" \"trayer\")") != kNone)
                panelIndent = indent;
            else if (panelIndent != kNone && line.find("(\"volmara\" \"volmara\")") != kNone)
                return true;
        }
        return false;
    }

    test::TempFolder folder;
    Child xvfb;
    Child trayer;
    std::string display;
};

TEST_F(TrayOnX, TheProgramsIconSitsInTheTrayUntilItEnds)
{
    const fs::path program = folder.path() / "volmara";
    fs::copy_file(VOLMARA_PROGRAM, program);
    const fs::path runtime = folder.path() / "run";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);

    ASSERT_FALSE(iconInTray());
    Child volmara;
    ASSERT_TRUE(volmara.start({program.string()}, {"HOME=" + folder.path().string(), "XDG_RUNTIME_DIR=" + runtime.string(),
                                                   "DISPLAY=" + display, "PATH=/usr/bin:/bin"}));
    EXPECT_TRUE(waitFor([&] { return iconInTray(); }, 20s)) << "no icon of the program in the tray:\n" << tree();
    EXPECT_TRUE(volmara.running());

    EXPECT_TRUE(volmara.stop(SIGTERM, 10s)) << "the program did not end on SIGTERM";
    EXPECT_TRUE(waitFor([&] { return !iconInTray(); }, 10s)) << tree();
    EXPECT_TRUE(fs::exists(folder.path() / "set.dat")) << "the settings were not saved at shut-down";
}

} // namespace
} // namespace volmara
