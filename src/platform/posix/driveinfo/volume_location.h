#pragma once

#include "platform/posix/mount_table.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace volmara::posix {

enum class PathKind { Missing, ImageFile, BlockDevice, Folder, Other };

// Where the volume behind a path lives.
struct VolumeLocation {
    PathKind kind = PathKind::Missing;
    std::optional<MountRecord> mount; // the mount holding the path
    std::optional<std::string> device; // block device or image file to read
};

// The mount table of the volume calls, which run on several I/O workers at once. The lock covers
// the lookup alone (the table is read from /proc, which never waits), never a call into a file
// system, so one volume that hangs does not hold up the others.
class SharedMountTable {
public:
    explicit SharedMountTable(std::string mountinfoFile) : cache_(std::move(mountinfoFile)) {}

    // The mount holding an absolute, lexically normal path; nullopt when there is none or the
    // table cannot be read.
    std::optional<MountRecord> holding(std::string_view normalPath);

private:
    std::mutex mutex_;
    MountTableCache cache_;
};

// Finds the volume behind a drive root, a folder, a block device or an image file. The mount is
// found lexically from the table; a path on a file system that may wait on a server or a daemon
// is taken to be that drive and is never touched (a stat there could hang), so only its block
// device, if it has one, is named.
VolumeLocation locateVolume(std::string_view path, SharedMountTable& mounts);

// The source of a mount when it is a block device.
std::optional<std::string> blockDeviceSource(const MountRecord& mount);

} // namespace volmara::posix
