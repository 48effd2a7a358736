#pragma once

#include "platform/posix/mount_table.h"
#include "platform/volumes.h"

#include <set>
#include <string>

namespace volmara {

// Drives are the mounted file systems a user can fill, named by their mount points.
//
// locate() answers from the mount table (re-read only when the kernel reports a change), so it
// never waits on a file system. measure() does the blocking part (a stat of the path and a statvfs
// of its mount) and is meant for the I/O workers, which keep a file system that does not answer
// from holding anything else up.
//
// Drive roots are found lexically: symbolic links in a path are not followed, so the drive of a
// path is the one its text names, the same answer mountPointOf() gives.
//
// A path that names a mount point listed in fstab while nothing is mounted there is `gone`: its
// file system is away, and the path is not taken for the drive below it.
class PosixVolumes final : public Volumes {
public:
    explicit PosixVolumes(std::string mountinfoFile = "/proc/self/mountinfo", std::string fstabFile = "/etc/fstab");

    std::vector<std::string> logicalDrives() override;
    DriveLocation locate(std::string_view path) override;
    DriveSpace measure(const DriveLocation& drive, const std::string& path) override;
    std::string mountPointOf(std::string_view path) override;
    bool isRemote(std::string_view path) override;

private:
    MountTableCache mounts_;
    std::set<std::string> fstabTargets_;
};

// Mount points listed in an fstab file (swap and "none" left out), lexically normal; empty when
// the file cannot be read.
std::set<std::string> readFstabTargets(const std::string& fstabFile);

} // namespace volmara
