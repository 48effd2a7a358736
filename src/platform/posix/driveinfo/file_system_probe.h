#pragma once

#include "platform/volume_info.h"

#include <optional>
#include <string>
#include <string_view>

namespace volmara::posix {

struct ProbedFileSystem {
    std::string type;    // "vfat", "ntfs", "ext4", ...
    std::string version; // "FAT12", "FAT16", "FAT32" for vfat; often empty
};

// Probes the superblock of a block device or image file, opened read-only. nullopt when the
// device cannot be read or holds no file system that is recognised beyond doubt.
std::optional<ProbedFileSystem> probeFileSystem(const std::string& devicePath);

// The name the system reports for a file system: a FAT variant by its version (plain "FAT"
// when the version is unknown), "NTFS" for every NTFS driver, any other type upper-cased.
std::string reportedFileSystemName(std::string_view type, std::string_view version);

enum class DeviceRemovability { NoDevice, Fixed, Removable };

// Drive type of a mounted file system, from its type and the device behind it.
DriveType driveTypeFor(std::string_view fsType, DeviceRemovability device);

} // namespace volmara::posix
