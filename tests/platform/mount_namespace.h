#pragma once

#include <string>
#include <vector>

namespace volmara::test {

// Moves the process into a private mount namespace: as root directly, otherwise through a user
// namespace that maps the caller to root. Must run before any thread is started.
void enterPrivateMountNamespace();

// Empty once the process is in a private mount namespace; otherwise the reason it is not.
const std::string& mountNamespaceProblem();

// True when the namespace was made by the real root, which may also open /dev/fuse.
bool hasRealRoot();

// Mounts that are undone, newest first, when the object goes.
class Mounts {
public:
    Mounts() = default;
    ~Mounts();
    Mounts(const Mounts&) = delete;
    Mounts& operator=(const Mounts&) = delete;

    // Throws std::runtime_error naming the mount and the reason when it fails.
    void mount(const std::string& source, const std::string& target, const std::string& type,
               unsigned long flags = 0, const std::string& options = {});
    void bind(const std::string& from, const std::string& target);
    void unmount(const std::string& target);

private:
    std::vector<std::string> targets_;
};

// Writes `bytes` zero bytes to a new file; returns how many were written before the file system
// ran out of space.
long long fillFile(const std::string& path, long long bytes);

} // namespace volmara::test
