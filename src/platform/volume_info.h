#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace volmara {

// Kind of drive, with the codes the drive attribute page shows texts for.
enum class DriveType : int {
    Unknown = 0,
    NotFound = 1, // no drive at that path
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// Allocation geometry of a volume. All zero when the volume does not answer.
struct ClusterGeometry {
    std::uint64_t sectorsPerCluster = 0;
    std::uint64_t bytesPerSector = 0;
    std::uint64_t freeClusters = 0;
    std::uint64_t totalClusters = 0;
};

// What the system reports about the volume behind a drive root, a block device or an image file.
// Every call may block on the file system: the core makes them on the I/O workers (thread-safe,
// several at once).
class VolumeInfo {
public:
    virtual ~VolumeInfo() = default;

    // The file-system name as the system reports it ("FAT32", "NTFS", "EXT4", ...); it may be
    // in any case and may carry a NUL and trailing bytes. Empty when nothing is known.
    virtual std::string fileSystemName(std::string_view path) = 0;

    virtual DriveType driveType(std::string_view root) = 0;

    virtual ClusterGeometry clusterGeometry(std::string_view root) = 0;
};

} // namespace volmara
