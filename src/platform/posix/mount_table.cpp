#include "platform/posix/mount_table.h"

#include "core/error.h"

#include <libmount.h>

#include <algorithm>
#include <iterator>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace volmara {

namespace {

// Kernel interfaces and bookkeeping file systems: nothing a user stores files on.
constexpr std::string_view pseudoFsTypes[] = {
    "proc",       "sysfs",      "cgroup",     "cgroup2",         "devpts",
    "devtmpfs",   "debugfs",    "tracefs",    "securityfs",      "pstore",
    "efivarfs",   "bpf",        "configfs",   "fusectl",         "mqueue",
    "hugetlbfs",  "binfmt_misc", "autofs",    "rpc_pipefs",      "nfsd",
    "nsfs",       "selinuxfs",  "smackfs",    "apparmorfs",      "sockfs",
    "pipefs",     "anon_inodefs", "bdev",     "dmabuf",          "cpuset",
    "spufs",      "binder",     "usbfs",      "devfs",           "xenfs",
    "openpromfs", "fuse.gvfsd-fuse", "fuse.gvfs-fuse-daemon", "fuse.portal", "fuse.lxcfs",
};

// Read-only compressed images (application bundles), not storage.
constexpr std::string_view imageFsTypes[] = {"squashfs", "fuse.squashfuse", "fuse.snapfuse"};

constexpr std::string_view remoteFsTypes[] = {
    "nfs",         "nfs4",       "cifs",      "smb3",           "smbfs",
    "sshfs",       "fuse.sshfs", "9p",        "virtiofs",       "vboxsf",
    "ceph",        "fuse.ceph",  "glusterfs", "fuse.glusterfs", "davfs",
    "fuse.davfs2", "afs",        "ncpfs",     "ncp",            "coda",
    "lustre",      "fuse.rclone", "fuse.s3fs", "fuse.curlftpfs", "fuse.gcsfuse",
};

// Places where the system keeps its own in-memory file systems.
constexpr std::string_view systemTrees[] = {"/dev", "/run", "/sys", "/proc"};

bool contains(std::span<const std::string_view> list, std::string_view value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool isMemoryFsType(std::string_view fsType)
{
    return fsType == "tmpfs" || fsType == "ramfs";
}

bool isAtOrBelow(std::string_view path, std::string_view tree)
{
    if (tree == "/")
        return path.starts_with('/');
    return path == tree || (path.starts_with(tree) && path.size() > tree.size() && path[tree.size()] == '/');
}

bool isBelowSystemTree(std::string_view target)
{
    return std::any_of(std::begin(systemTrees), std::end(systemTrees),
                       [&](std::string_view tree) { return isAtOrBelow(target, tree); });
}

bool isHiddenByLaterMount(std::span<const MountRecord> table, std::size_t index)
{
    return std::any_of(table.begin() + static_cast<std::ptrdiff_t>(index) + 1, table.end(),
                       [&](const MountRecord& later) { return later.target == table[index].target; });
}

bool sameFileSystem(const MountRecord& a, const MountRecord& b)
{
    // The device number names the file system itself; tmpfs mounts all share the source "tmpfs",
    // so source and type only decide when a record carries no device number.
    if (a.device != 0 || b.device != 0)
        return a.device == b.device;
    return a.source == b.source && a.fsType == b.fsType;
}

bool isFillable(const MountRecord& mount)
{
    if (isPseudoFsType(mount.fsType) || contains(imageFsTypes, mount.fsType))
        return false;
    return !(isMemoryFsType(mount.fsType) && isBelowSystemTree(mount.target));
}

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

std::string textOr(const char* text)
{
    return text ? std::string(text) : std::string();
}

[[noreturn]] void throwTableUnreadable()
{
    throw Error(ErrorKind::Other, "Device unavailable");
}

} // namespace

bool isPseudoFsType(std::string_view fsType)
{
    return contains(pseudoFsTypes, fsType);
}

bool isRemoteFsType(std::string_view fsType)
{
    return contains(remoteFsTypes, fsType);
}

bool mayBlockFsType(std::string_view fsType)
{
    return isRemoteFsType(fsType) || fsType == "fuse" || fsType == "fuseblk" || fsType.starts_with("fuse.");
}

std::vector<MountRecord> fillableMounts(std::span<const MountRecord> table)
{
    std::vector<MountRecord> kept;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MountRecord& mount = table[i];
        if (!isFillable(mount) || isHiddenByLaterMount(table, i))
            continue;
        const bool alreadyKept = std::any_of(kept.begin(), kept.end(),
                                             [&](const MountRecord& k) { return sameFileSystem(k, mount); });
        if (!alreadyKept)
            kept.push_back(mount);
    }
    return kept;
}

const MountRecord* mountHolding(std::span<const MountRecord> table, std::string_view path)
{
    const MountRecord* best = nullptr;
    for (const MountRecord& mount : table) {
        // ">=": of two mounts at one place the later one is the one that is visible.
        if (isAtOrBelow(path, mount.target) && (!best || mount.target.size() >= best->target.size()))
            best = &mount;
    }
    return best;
}

std::string normalAbsolutePath(std::string_view path)
{
    if (!path.starts_with('/'))
        return {};
    // Most paths are normal already but for a trailing separator: no need to take them apart.
    const bool plain = path.find("//") == std::string_view::npos && path.find("/.") == std::string_view::npos;
    std::string normal = plain ? std::string(path) : std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string driveRootOf(const MountRecord& mount)
{
    return mount.target.ends_with('/') ? mount.target : mount.target + '/';
}

std::vector<MountRecord> readMountTable(const std::string& mountinfoFile)
{
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!table || !iter)
        throw Error(ErrorKind::OutOfMemory, "Out of memory");
    if (mnt_table_parse_file(table.get(), mountinfoFile.c_str()) != 0)
        throwTableUnreadable();

    std::vector<MountRecord> records;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        MountRecord record;
        record.target = textOr(mnt_fs_get_target(fs));
        record.source = textOr(mnt_fs_get_source(fs));
        record.fsType = textOr(mnt_fs_get_fstype(fs));
        record.device = mnt_fs_get_devno(fs);
        if (!record.target.empty())
            records.push_back(std::move(record));
    }
    return records;
}

MountTableCache::MountTableCache(std::string mountinfoFile) : file_(std::move(mountinfoFile))
{
    // Only the kernel's own table reports changes; any other file is re-read on every use.
    const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    struct statfs fsInfo {};
    if (fd >= 0 && ::fstatfs(fd, &fsInfo) == 0 && fsInfo.f_type == PROC_SUPER_MAGIC)
        watchFd_ = fd;
    else if (fd >= 0)
        ::close(fd);
}

MountTableCache::~MountTableCache()
{
    if (watchFd_ >= 0)
        ::close(watchFd_);
}

bool MountTableCache::changedSinceLastRead()
{
    if (watchFd_ < 0)
        return true;
    pollfd watch{watchFd_, POLLPRI, 0};
    // The kernel clears the event as it reports it, so polling before reading misses no change.
    if (::poll(&watch, 1, 0) < 0)
        return true;
    return (watch.revents & (POLLPRI | POLLERR | POLLNVAL)) != 0;
}

const std::vector<MountRecord>& MountTableCache::table()
{
    if (changedSinceLastRead() || !table_) {
        table_.reset();
        table_ = readMountTable(file_);
    }
    return *table_;
}

} // namespace volmara
