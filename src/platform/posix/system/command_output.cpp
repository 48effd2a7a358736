#include "platform/posix/system/command_output.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace volmara {

std::optional<std::string> findProgram(const std::string& name)
{
    std::string folders = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
    if (const char* path = std::getenv("PATH"); path && *path)
        folders = std::string(path) + ":" + folders;
    std::istringstream list(folders);
    std::string folder;
    while (std::getline(list, folder, ':')) {
        if (folder.empty())
            continue;
        const auto candidate = folder + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> commandOutput(const std::string& program, const std::vector<std::string>& arguments,
                                         std::chrono::milliseconds limit, std::size_t cap)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = -1;
    const int started = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (started != 0) {
        ::close(pipeEnds[0]);
        return std::nullopt;
    }

    std::string output;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char chunk[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || output.size() >= cap)
            break;
        pollfd wait{pipeEnds[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const auto n = ::read(pipeEnds[0], chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ended = true;
            break;
        }
        output.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    if (output.size() > cap)
        output.resize(cap);
    // A program cut off, or one that lingers past the limit after closing its output, is killed;
    // either way it is reaped here.
    if (!ended)
        ::kill(child, SIGKILL);
    for (;;) {
        const pid_t reaped = ::waitpid(child, nullptr, ended ? WNOHANG : 0);
        if (reaped == child || (reaped < 0 && errno != EINTR))
            break;
        if (reaped == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(child, SIGKILL);
                ended = false;
            } else {
                ::usleep(5000);
            }
        }
    }
    return output;
}

} // namespace volmara
