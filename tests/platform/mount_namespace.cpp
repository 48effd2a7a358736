#include "mount_namespace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace volmara::test {

namespace {

struct NamespaceState {
    std::string problem = "the private mount namespace was not set up";
    bool realRoot = false;
};

NamespaceState& state()
{
    static NamespaceState current;
    return current;
}

std::string lastError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool writeProcFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

// Without this, mounts made here would propagate back into the namespace we came from.
bool makeMountsPrivate(std::string& problem)
{
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0)
        return true;
    problem = lastError("making the mounts private failed");
    return false;
}

bool enterAsRoot(std::string& problem)
{
    if (::geteuid() != 0) {
        problem = "not running as root";
        return false;
    }
    if (::unshare(CLONE_NEWNS) != 0) {
        problem = lastError("unshare(CLONE_NEWNS) as root failed");
        return false;
    }
    return makeMountsPrivate(problem);
}

bool enterThroughUserNamespace(std::string& problem)
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
        problem = lastError("unshare(CLONE_NEWUSER | CLONE_NEWNS) failed");
        return false;
    }
    if (!writeProcFile("/proc/self/setgroups", "deny") ||
        !writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        problem = "mapping the user into the new user namespace failed";
        return false;
    }
    return makeMountsPrivate(problem);
}

} // namespace

void enterPrivateMountNamespace()
{
    std::string asRoot;
    if (enterAsRoot(asRoot)) {
        state() = {"", true};
        return;
    }
    std::string asUser;
    if (enterThroughUserNamespace(asUser)) {
        state() = {"", false};
        return;
    }
    state().problem = "no private mount namespace (" + asRoot + "; " + asUser + ")";
}

const std::string& mountNamespaceProblem()
{
    return state().problem;
}

bool hasRealRoot()
{
    return state().problem.empty() && state().realRoot;
}

Mounts::~Mounts()
{
    for (auto it = targets_.rbegin(); it != targets_.rend(); ++it)
        ::umount2(it->c_str(), MNT_DETACH);
}

void Mounts::mount(const std::string& source, const std::string& target, const std::string& type,
                   unsigned long flags, const std::string& options)
{
    if (::mount(source.c_str(), target.c_str(), type.c_str(), flags, options.empty() ? nullptr : options.c_str()) != 0)
        throw std::runtime_error(lastError("mount -t " + type + " " + source + " " + target));
    targets_.push_back(target);
}

void Mounts::bind(const std::string& from, const std::string& target)
{
    if (::mount(from.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0)
        throw std::runtime_error(lastError("bind mount " + from + " " + target));
    targets_.push_back(target);
}

void Mounts::unmount(const std::string& target)
{
    if (::umount2(target.c_str(), MNT_DETACH) != 0)
        throw std::runtime_error(lastError("umount " + target));
    const auto it = std::find(targets_.rbegin(), targets_.rend(), target);
    if (it != targets_.rend())
        targets_.erase(std::next(it).base());
}

long long fillFile(const std::string& path, long long bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error(lastError("open " + path));
    static const char zeros[64 * 1024] = {};
    long long written = 0;
    while (written < bytes) {
        const auto chunk = static_cast<size_t>(std::min<long long>(sizeof zeros, bytes - written));
        const ssize_t n = ::write(fd, zeros, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
    return written;
}

} // namespace volmara::test
