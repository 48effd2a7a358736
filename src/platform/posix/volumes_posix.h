#pragma once

#include "platform/posix/bounded_call.h"
#include "platform/posix/mount_table.h"
#include "platform/volumes.h"

#include <chrono>
#include <string>

namespace volmara {

// Drives are the mounted file systems a user can fill, named by their mount points.
//
// Every call that touches a file system to measure it runs through one helper thread with a bound:
// a file system that does not answer in time (a dead network mount) reads as not ready, and keeps
// reading so, without new work queued for it, until its call returns. While the helper is held up
// that way, other local file systems are measured on the calling thread; other file systems that
// may wait on a server or a daemon read as not ready.
//
// Drive roots are found lexically: symbolic links in a path are not followed, so the drive of a
// path is the one its text names, the same answer mountPointOf() gives.
//
// Uses the mount namespace the process is in when the object is made. One thread calls an
// object; the helper thread is its own business.
class PosixVolumes final : public Volumes {
public:
    static constexpr std::chrono::milliseconds defaultStatBound{1500};

    explicit PosixVolumes(std::chrono::milliseconds statBound = defaultStatBound,
                          std::string mountinfoFile = "/proc/self/mountinfo");

    std::vector<std::string> logicalDrives() override;
    DriveSpace drive(std::string_view path) override;
    std::string mountPointOf(std::string_view path) override;
    bool isRemote(std::string_view path) override;

    // The one bounded helper thread; other parts of the layer that measure file systems share it.
    BoundedCaller& boundedCaller() { return caller_; }

private:
    MountTableCache mounts_;
    BoundedCaller caller_;
};

} // namespace volmara
