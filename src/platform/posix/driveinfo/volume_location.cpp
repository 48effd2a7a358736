#include "platform/posix/driveinfo/volume_location.h"

#include "core/error.h"

#include <sys/stat.h>

namespace volmara::posix {

std::optional<MountRecord> SharedMountTable::holding(std::string_view normalPath)
{
    const std::lock_guard lock(mutex_);
    try {
        if (const MountRecord* mount = mountHolding(cache_.table(), normalPath))
            return *mount;
    } catch (const Error&) {
        // an unreadable table knows no mount
    }
    return std::nullopt;
}

std::optional<std::string> blockDeviceSource(const MountRecord& mount)
{
    if (!mount.source.starts_with('/'))
        return std::nullopt;
    struct stat st {};
    if (::stat(mount.source.c_str(), &st) != 0 || !S_ISBLK(st.st_mode))
        return std::nullopt;
    return mount.source;
}

VolumeLocation locateVolume(std::string_view path, SharedMountTable& mounts)
{
    VolumeLocation location;
    const std::string normal = normalAbsolutePath(path);
    if (normal.empty())
        return location;
    location.mount = mounts.holding(normal);
    if (location.mount && mayBlockFsType(location.mount->fsType)) {
        location.kind = PathKind::Folder;
        location.device = blockDeviceSource(*location.mount);
        return location;
    }

    const std::string text(path);
    struct stat st {};
    if (::stat(text.c_str(), &st) != 0)
        return location;
    if (S_ISREG(st.st_mode)) {
        location.kind = PathKind::ImageFile;
        location.device = text;
    } else if (S_ISBLK(st.st_mode)) {
        location.kind = PathKind::BlockDevice;
        location.device = text;
    } else if (S_ISDIR(st.st_mode)) {
        location.kind = PathKind::Folder;
        if (location.mount)
            location.device = blockDeviceSource(*location.mount);
    } else {
        location.kind = PathKind::Other;
    }
    return location;
}

} // namespace volmara::posix
