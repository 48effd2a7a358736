#include "platform/posix/volumes_posix.h"

#include "core/error.h"
#include "core/path_rules.h"

#include <cerrno>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace volmara {

namespace {

struct Measurement {
    bool ready = false;
    std::uint64_t freeBytes = 0;
    std::uint64_t availableBytes = 0;
    std::uint64_t totalBytes = 0;
};

// A path that is gone (media removed, folder deleted) leaves its drive not ready; one the caller
// may not search still lies on a drive that is there.
bool pathIsThere(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 || errno == EACCES;
}

Measurement measure(const std::string& path, const std::string& mountPoint)
{
    if (!pathIsThere(path))
        return {};
    struct statvfs vfs {};
    if (::statvfs(mountPoint.c_str(), &vfs) != 0)
        return {};
    const std::uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    return {true, std::uint64_t{vfs.f_bfree} * unit, std::uint64_t{vfs.f_bavail} * unit,
            std::uint64_t{vfs.f_blocks} * unit};
}

[[noreturn]] void throwInvalidPath()
{
    throw Error(ErrorKind::InvalidArgument, "Invalid procedure call or argument");
}

} // namespace

PosixVolumes::PosixVolumes(std::chrono::milliseconds statBound, std::string mountinfoFile)
    : mounts_(std::move(mountinfoFile)), caller_(statBound)
{
}

std::vector<std::string> PosixVolumes::logicalDrives()
{
    std::vector<std::string> roots;
    for (const MountRecord& mount : fillableMounts(mounts_.table()))
        roots.push_back(driveRootOf(mount));
    return roots;
}

DriveSpace PosixVolumes::drive(std::string_view pathText)
{
    const std::string path = normalAbsolutePath(trim(pathText));
    if (path.empty())
        throwInvalidPath();
    const MountRecord* mount = mountHolding(mounts_.table(), path);
    if (!mount)
        throwInvalidPath();

    DriveSpace space;
    space.root = driveRootOf(*mount);
    space.path = mount->target;
    const std::string mountPoint = mount->target;
    const bool mayBlock = mayBlockFsType(mount->fsType);

    auto reply = caller_.run(mountPoint, [path, mountPoint] { return measure(path, mountPoint); });
    if (reply.outcome == BoundedCaller::Outcome::HelperBusy && !mayBlock)
        reply.result = measure(path, mountPoint);

    if (reply.result && reply.result->ready) {
        space.ready = true;
        space.freeBytes = reply.result->freeBytes;
        space.availableBytes = reply.result->availableBytes;
        space.totalBytes = reply.result->totalBytes;
    }
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
