#include "platform/posix/driveinfo/file_system_probe.h"

#include "platform/posix/driveinfo/read_only_volume.h"
#include "platform/posix/mount_table.h"

#include <algorithm>
#include <array>
#include <memory>

#include <blkid.h>

namespace volmara::posix {
namespace {

struct ProbeDeleter {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};
using Probe = std::unique_ptr<blkid_struct_probe, ProbeDeleter>;

std::string probeValue(blkid_probe probe, const char* name)
{
    const char* data = nullptr;
    std::size_t length = 0;
    if (blkid_probe_lookup_value(probe, name, &data, &length) != 0 || !data)
        return {};
    return std::string(data); // length counts the terminating NUL
}

std::string upperCased(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

template <std::size_t N>
bool isOneOf(std::string_view value, const std::array<std::string_view, N>& names)
{
    return std::find(names.begin(), names.end(), value) != names.end();
}

constexpr std::array<std::string_view, 2> kOpticalTypes{"iso9660", "udf"};
constexpr std::array<std::string_view, 2> kRamTypes{"tmpfs", "ramfs"};

} // namespace

std::optional<ProbedFileSystem> probeFileSystem(const std::string& devicePath)
{
    const std::optional<OpenedVolume> volume = openVolumeReadOnly(devicePath);
    if (!volume)
        return std::nullopt;
    Probe probe(blkid_new_probe());
    if (!probe || blkid_probe_set_device(probe.get(), volume->fd.get(), 0, 0) != 0)
        return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
    if (blkid_do_safeprobe(probe.get()) != 0)
        return std::nullopt;
    ProbedFileSystem found{probeValue(probe.get(), "TYPE"), probeValue(probe.get(), "VERSION")};
    if (found.type.empty())
        return std::nullopt;
    return found;
}

std::string reportedFileSystemName(std::string_view type, std::string_view version)
{
    if (type == "vfat" || type == "msdos")
        return (version == "FAT12" || version == "FAT16" || version == "FAT32") ? std::string(version) : "FAT";
    if (type == "ntfs" || type == "ntfs3" || type == "ntfs-3g" || type == "fuse.ntfs-3g")
        return "NTFS";
    return upperCased(type);
}

DriveType driveTypeFor(std::string_view fsType, DeviceRemovability device)
{
    if (isRemoteFsType(fsType))
        return DriveType::Remote;
    if (isOneOf(fsType, kOpticalTypes))
        return DriveType::CdRom;
    if (isOneOf(fsType, kRamTypes))
        return DriveType::RamDisk;
    return device == DeviceRemovability::Removable ? DriveType::Removable : DriveType::Fixed;
}

} // namespace volmara::posix
