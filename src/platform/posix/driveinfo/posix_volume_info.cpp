#include "platform/posix/driveinfo/posix_volume_info.h"

#include "platform/posix/driveinfo/block_device_facts.h"
#include "platform/posix/driveinfo/file_system_probe.h"
#include "platform/posix/driveinfo/volume_location.h"

#include <sys/statvfs.h>

namespace volmara {
namespace {

constexpr std::uint64_t kDefaultSectorBytes = 512;

struct SpaceCounts {
    std::uint64_t clusterBytes = 0;
    std::uint64_t freeClusters = 0;
    std::uint64_t totalClusters = 0;
};

std::optional<SpaceCounts> statSpace(const std::string& path)
{
    struct statvfs st {};
    if (::statvfs(path.c_str(), &st) != 0 || st.f_frsize == 0)
        return std::nullopt;
    // All free clusters, as the drive list counts free space, not only the user's share.
    return SpaceCounts{st.f_frsize, st.f_bfree, st.f_blocks};
}

std::string probedName(const std::string& device)
{
    const std::optional<posix::ProbedFileSystem> probed = posix::probeFileSystem(device);
    return probed ? posix::reportedFileSystemName(probed->type, probed->version) : std::string();
}

posix::DeviceRemovability removability(const MountRecord& mount)
{
    const std::optional<std::string> device = posix::blockDeviceSource(mount);
    if (!device)
        return posix::DeviceRemovability::NoDevice;
    const std::optional<posix::BlockDeviceFacts> facts = posix::blockDeviceFacts(*device);
    return facts && facts->removable ? posix::DeviceRemovability::Removable : posix::DeviceRemovability::Fixed;
}

} // namespace

PosixVolumeInfo::PosixVolumeInfo(std::string mountinfoFile) : mounts_(std::move(mountinfoFile))
{
}

std::string PosixVolumeInfo::fileSystemName(std::string_view path)
{
    const posix::VolumeLocation location = posix::locateVolume(path, mounts_);
    switch (location.kind) {
    case posix::PathKind::ImageFile:
    case posix::PathKind::BlockDevice:
        return probedName(*location.device);
    case posix::PathKind::Folder:
        if (location.device) {
            if (std::string name = probedName(*location.device); !name.empty())
                return name;
        }
        return location.mount ? posix::reportedFileSystemName(location.mount->fsType, {}) : std::string();
    case posix::PathKind::Missing:
    case posix::PathKind::Other:
        break;
    }
    return {};
}

DriveType PosixVolumeInfo::driveType(std::string_view root)
{
    const posix::VolumeLocation location = posix::locateVolume(root, mounts_);
    if (location.kind == posix::PathKind::Missing || !location.mount)
        return DriveType::NotFound;
    return posix::driveTypeFor(location.mount->fsType, removability(*location.mount));
}

ClusterGeometry PosixVolumeInfo::clusterGeometry(std::string_view root)
{
    const posix::VolumeLocation location = posix::locateVolume(root, mounts_);
    if (location.kind == posix::PathKind::Missing || !location.mount)
        return {};

    const std::optional<SpaceCounts> space = statSpace(std::string(root));
    if (!space)
        return {};

    const std::optional<std::string> device = posix::blockDeviceSource(*location.mount);
    const std::uint64_t sectorBytes =
        device ? posix::logicalSectorSize(*device).value_or(kDefaultSectorBytes) : kDefaultSectorBytes;
    ClusterGeometry geometry = posix::splitCluster(space->clusterBytes, sectorBytes);
    geometry.freeClusters = space->freeClusters;
    geometry.totalClusters = space->totalClusters;
    return geometry;
}

namespace posix {

ClusterGeometry splitCluster(std::uint64_t clusterBytes, std::uint64_t deviceSectorBytes)
{
    ClusterGeometry geometry;
    if (deviceSectorBytes == 0 || clusterBytes < deviceSectorBytes || clusterBytes % deviceSectorBytes != 0) {
        geometry.bytesPerSector = clusterBytes;
        geometry.sectorsPerCluster = 1;
    } else {
        geometry.bytesPerSector = deviceSectorBytes;
        geometry.sectorsPerCluster = clusterBytes / deviceSectorBytes;
    }
    return geometry;
}

} // namespace posix

} // namespace volmara
