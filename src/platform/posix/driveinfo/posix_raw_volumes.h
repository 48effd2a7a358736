#pragma once

#include "platform/posix/driveinfo/volume_location.h"
#include "platform/raw_volume.h"

#include <string>

namespace volmara {

// Raw volumes on Linux: a drive (mount point, or any folder on it) opens the block device
// the mount table names for it; a block device or an image file path is opened as it stands.
// Every open is O_RDONLY.
class PosixRawVolumes final : public RawVolumes {
public:
    explicit PosixRawVolumes(std::string mountinfoFile = "/proc/self/mountinfo");

    std::unique_ptr<RawVolume> open(std::string_view path) override;

private:
    posix::SharedMountTable mounts_;
};

} // namespace volmara
