#include "platform/posix/driveinfo/block_device_facts.h"

#include "platform/posix/driveinfo/read_only_volume.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace volmara::posix {
namespace {

std::optional<std::uint64_t> readNumber(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::uint64_t value = 0;
    if (!(in >> value))
        return std::nullopt;
    return value;
}

// The sysfs folder of the disk a device belongs to.
std::optional<std::filesystem::path> diskSysfsFolder(const std::string& devicePath)
{
    struct stat st {};
    if (::stat(devicePath.c_str(), &st) != 0 || !S_ISBLK(st.st_mode))
        return std::nullopt;
    const std::string link = "/sys/dev/block/" + std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
    std::error_code error;
    std::filesystem::path folder = std::filesystem::canonical(link, error);
    if (error)
        return std::nullopt;
    if (std::filesystem::exists(folder / "partition", error))
        folder = folder.parent_path();
    return folder;
}

} // namespace

std::optional<BlockDeviceFacts> blockDeviceFacts(const std::string& devicePath)
{
    const std::optional<std::filesystem::path> disk = diskSysfsFolder(devicePath);
    if (!disk)
        return std::nullopt;
    BlockDeviceFacts facts;
    facts.removable = readNumber(*disk / "removable").value_or(0) == 1;
    if (const auto size = readNumber(*disk / "queue" / "logical_block_size"); size && *size > 0 && *size <= UINT32_MAX)
        facts.logicalSectorSize = static_cast<std::uint32_t>(*size);
    return facts;
}

std::optional<std::uint32_t> logicalSectorSize(const std::string& devicePath)
{
    if (const std::optional<OpenedVolume> volume = openVolumeReadOnly(devicePath);
        volume && volume->kind == VolumeKind::BlockDevice) {
        int size = 0;
        if (::ioctl(volume->fd.get(), BLKSSZGET, &size) == 0 && size > 0)
            return static_cast<std::uint32_t>(size);
    }
    if (const std::optional<BlockDeviceFacts> facts = blockDeviceFacts(devicePath))
        return facts->logicalSectorSize;
    return std::nullopt;
}

} // namespace volmara::posix
