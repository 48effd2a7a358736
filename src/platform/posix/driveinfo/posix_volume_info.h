#pragma once

#include "platform/posix/driveinfo/volume_location.h"
#include "platform/volume_info.h"

#include <string>

namespace volmara {

// File-system name by probing the device (the mount table's type when the device cannot be
// read), drive type from the mount table and sysfs, geometry from statvfs and the device's
// logical sector size. Every call may block (a statvfs on a file system whose server is gone
// never returns): they are made on the I/O workers, several at once.
class PosixVolumeInfo final : public VolumeInfo {
public:
    explicit PosixVolumeInfo(std::string mountinfoFile = "/proc/self/mountinfo");

    std::string fileSystemName(std::string_view path) override;
    DriveType driveType(std::string_view root) override;
    ClusterGeometry clusterGeometry(std::string_view root) override;

private:
    posix::SharedMountTable mounts_;
};

namespace posix {

// Splits a cluster of `clusterBytes` into sectors of the device's size; a cluster that is not
// a whole number of such sectors counts as one sector of its own size, so that their product
// always gives the cluster. Only the sector fields of the result are set.
ClusterGeometry splitCluster(std::uint64_t clusterBytes, std::uint64_t deviceSectorBytes);

} // namespace posix

} // namespace volmara
