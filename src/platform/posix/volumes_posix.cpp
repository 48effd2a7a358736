#include "platform/posix/volumes_posix.h"

#include "core/error.h"
#include "core/path_rules.h"

#include <libmount.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace volmara {

namespace {

// A path that is gone (media removed, folder deleted) leaves its drive not ready; one the caller
// may not search still lies on a drive that is there.
bool pathIsThere(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 || errno == EACCES;
}

[[noreturn]] void throwInvalidPath()
{
    throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
}

} // namespace

std::set<std::string> readFstabTargets(const std::string& fstabFile)
{
    std::set<std::string> targets;
    std::unique_ptr<libmnt_table, void (*)(libmnt_table*)> table(mnt_new_table(), mnt_unref_table);
    std::unique_ptr<libmnt_iter, void (*)(libmnt_iter*)> iter(mnt_new_iter(MNT_ITER_FORWARD), mnt_free_iter);
    if (!table || !iter || mnt_table_parse_fstab(table.get(), fstabFile.c_str()) != 0)
        return targets;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const char* target = mnt_fs_get_target(fs);
        if (!target || mnt_fs_is_swaparea(fs))
            continue;
        if (std::string normal = normalAbsolutePath(target); !normal.empty())
            targets.insert(std::move(normal));
    }
    return targets;
}

PosixVolumes::PosixVolumes(std::string mountinfoFile, std::string fstabFile)
    : mounts_(std::move(mountinfoFile)), fstabTargets_(readFstabTargets(fstabFile))
{
}

std::vector<std::string> PosixVolumes::logicalDrives()
{
    std::vector<std::string> roots;
    for (const MountRecord& mount : fillableMounts(mounts_.table()))
        roots.push_back(driveRootOf(mount));
    return roots;
}

DriveLocation PosixVolumes::locate(std::string_view pathText)
{
    const std::string path = normalAbsolutePath(trim(pathText));
    if (path.empty())
        throwInvalidPath();
    const MountRecord* mount = mountHolding(mounts_.table(), path);
    if (!mount)
        throwInvalidPath();

    DriveLocation where;
    const bool mountedHere = mount->target == path;
    if (!mountedHere && fstabTargets_.count(path)) {
        // Its own file system is away: the path stands for that drive, not for the one below.
        where.root = path + '/';
        where.path = path;
        where.namesMountPoint = true;
        where.gone = true;
        return where;
    }
    where.root = driveRootOf(*mount);
    where.path = mount->target;
    where.remote = isRemoteFsType(mount->fsType);
    where.namesMountPoint = mountedHere;
    return where;
}

DriveSpace PosixVolumes::measure(const DriveLocation& drive, const std::string& pathText)
{
    DriveSpace space;
    space.root = drive.root;
    space.path = drive.path;
    if (drive.gone)
        return space;
    const std::string path = normalAbsolutePath(trim(pathText));
    if (path.empty() || !pathIsThere(path))
        return space;
    struct statvfs vfs {};
    if (::statvfs(drive.path.c_str(), &vfs) != 0)
        return space;
    const std::uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    space.ready = true;
    space.freeBytes = std::uint64_t{vfs.f_bfree} * unit;
    space.availableBytes = std::uint64_t{vfs.f_bavail} * unit;
    space.totalBytes = std::uint64_t{vfs.f_blocks} * unit;
    return space;
}

std::string PosixVolumes::mountPointOf(std::string_view pathText)
{
    const std::string path = normalAbsolutePath(pathText);
    if (path.empty())
        return {};
    const MountRecord* mount = mountHolding(mounts_.table(), path);
    return mount ? driveRootOf(*mount) : std::string();
}

bool PosixVolumes::isRemote(std::string_view pathText)
{
    const std::string path = normalAbsolutePath(pathText);
    if (path.empty())
        return false;
    const MountRecord* mount = mountHolding(mounts_.table(), path);
    return mount && isRemoteFsType(mount->fsType);
}

} // namespace volmara
