#pragma once

#include "platform/posix/bounded_call.h"
#include "platform/posix/mount_table.h"
#include "platform/volume_info.h"

#include <string>

namespace volmara {

// File-system name by probing the device (the mount table's type when the device cannot be
// read), drive type from the mount table and sysfs, geometry from statvfs and the device's
// logical sector size. A file system that may wait on a server or a daemon is measured through
// `statCaller`, the program's one bounded helper, and reads as all zero when it does not answer.
class PosixVolumeInfo final : public VolumeInfo {
public:
    explicit PosixVolumeInfo(BoundedCaller& statCaller, std::string mountinfoFile = "/proc/self/mountinfo");

    std::string fileSystemName(std::string_view path) override;
    DriveType driveType(std::string_view root) override;
    ClusterGeometry clusterGeometry(std::string_view root) override;

private:
    BoundedCaller& statCaller_;
    MountTableCache mounts_;
};

namespace posix {

// Splits a cluster of `clusterBytes` into sectors of the device's size; a cluster that is not
// a whole number of such sectors counts as one sector of its own size, so that their product
// always gives the cluster. Only the sector fields of the result are set.
ClusterGeometry splitCluster(std::uint64_t clusterBytes, std::uint64_t deviceSectorBytes);

} // namespace posix

} // namespace volmara
