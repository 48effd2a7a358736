#include "platform/posix/shell_posix.h"

#include "core/error.h"
#include "platform/posix/files/os_error.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace volmara {

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Frees the spawn settings however the start ends.
struct SpawnAttributes {
    posix_spawnattr_t attr;
    SpawnAttributes()
    {
        ::posix_spawnattr_init(&attr);
        // The program gets a clean start: no signal blocked or ignored as this program has them,
        // and a session of its own, so that it outlives a terminal this program was started from.
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attr, &none);
        ::posix_spawnattr_setsigdefault(&attr, &all);
        ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&attr); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

} // namespace

PosixShell::PosixShell(std::string opener) : opener_(std::move(opener)) {}

PosixShell::~PosixShell()
{
    std::lock_guard lock(mutex_);
    collectFinished();
}

void PosixShell::collectFinished()
{
    std::erase_if(children_, [](pid_t child) {
        const pid_t done = ::waitpid(child, nullptr, WNOHANG);
        return done == child || (done < 0 && errno == ECHILD);
    });
}

void PosixShell::spawn(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    pid_t child = 0;
    // A program that cannot be run is reported here: the spawn waits for the exec to succeed.
    const int error = ::posix_spawn(&child, program.c_str(), nullptr, &attributes.attr, argv.data(), environ);
    std::lock_guard lock(mutex_);
    collectFinished();
    if (error != 0)
        throwOsError(error, Missing::File);
    children_.push_back(child);
}

void PosixShell::start(const std::string& path, const std::vector<std::string>& parameters)
{
    if (!isExecutableFile(path)) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0)
            throwOsError(errno, Missing::File);
        open(path);
        return;
    }
    std::vector<std::string> arguments{path};
    arguments.insert(arguments.end(), parameters.begin(), parameters.end());
    spawn(path, arguments);
}

void PosixShell::open(const std::string& target)
{
    const auto opener = findProgram(opener_);
    if (!opener)
        throw Error(ErrorKind::Other, "The desktop's opener " + opener_ + " is not installed");
    spawn(*opener, {opener_, target});
}

void PosixShell::explore(const std::string& folder) { open(folder); }

std::optional<std::string> PosixShell::findProgram(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    const char* path = std::getenv("PATH");
    const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= folders.size()) {
        const auto end = std::min(folders.find(':', from), folders.size());
        const std::string folder = folders.substr(from, end - from);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + '/' + name;
        if (isExecutableFile(candidate))
            return candidate;
        from = end + 1;
    }
    return std::nullopt;
}

void PosixShell::showProperties(const PropertiesRequest& request)
{
    if (!propertiesWindow_)
        throw Error(ErrorKind::Other, "No window system to show the properties of " + request.path);
    propertiesWindow_(request);
}

} // namespace volmara
