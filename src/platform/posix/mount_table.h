#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// One line of the kernel's mount table.
struct MountRecord {
    std::string target;        // mount point, unescaped, no trailing '/' except for "/"
    std::string source;        // "/dev/sda1", "tmpfs", "server:/export"
    std::string fsType;        // "ext4", "tmpfs", "fuse.sshfs"
    std::uint64_t device = 0;  // the file system's device number: equal for every mount of it

    bool operator==(const MountRecord&) const = default;
};

// Reads a table in the /proc/<pid>/mountinfo format through libmount, in the kernel's order.
// Throws Error(Other) when the file cannot be read or parsed.
std::vector<MountRecord> readMountTable(const std::string& mountinfoFile = "/proc/self/mountinfo");

bool isPseudoFsType(std::string_view fsType);
bool isRemoteFsType(std::string_view fsType);
// A call into this file system may wait on something other than local memory or a local disk
// (a server, a user-space daemon).
bool mayBlockFsType(std::string_view fsType);

// The file systems a user can fill, in table order: pseudo file systems, squashfs images, a tmpfs
// below /dev, /run, /sys or /proc, a mount hidden by a later one at the same place, and a further
// mount of a file system already kept are left out.
std::vector<MountRecord> fillableMounts(std::span<const MountRecord> table);

// The visible mount whose target is the longest component-wise prefix of an absolute,
// lexically normal path; nullptr when there is none.
const MountRecord* mountHolding(std::span<const MountRecord> table, std::string_view path);

// "/a/./b//c/../" -> "/a/b"; empty for a path that is not absolute.
std::string normalAbsolutePath(std::string_view path);

// Mount target with the trailing '/' the drive roots carry.
std::string driveRootOf(const MountRecord& mount);

// The process's mount table, re-read only when the kernel reports a change: the table file
// signals a mount or unmount as a priority event, so the check costs one poll() per use.
class MountTableCache {
public:
    explicit MountTableCache(std::string mountinfoFile = "/proc/self/mountinfo");
    ~MountTableCache();
    MountTableCache(const MountTableCache&) = delete;
    MountTableCache& operator=(const MountTableCache&) = delete;

    // Current table; throws Error(Other) when it cannot be read.
    const std::vector<MountRecord>& table();

private:
    bool changedSinceLastRead();

    std::string file_;
    int watchFd_ = -1;  // -1: change events unavailable, every use re-reads
    std::optional<std::vector<MountRecord>> table_;
};

} // namespace volmara
