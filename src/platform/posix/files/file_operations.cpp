#include "platform/posix/files/file_operations.h"

#include "core/error.h"
#include "platform/posix/files/os_error.h"
#include "platform/posix/files/temporary_file.h"
#include "platform/posix/files/unique_fd.h"

#include <gio/gio.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara::posixfs {

namespace {

constexpr unsigned kStatxWanted = STATX_TYPE | STATX_MODE | STATX_UID | STATX_SIZE | STATX_BLOCKS | STATX_MNT_ID;

// What a walk needs to know of one entry, taken without following it.
struct Node {
    mode_t mode = 0;
    std::uint64_t size = 0;
    std::uint64_t blocks = 0;
    uid_t uid = 0;
    // The mount the entry belongs to: the mount id where the kernel gives one, else the device.
    std::uint64_t mount = 0;

    bool isFolder() const { return S_ISDIR(mode); }
};

std::uint64_t mountKey(const struct statx& info)
{
    if (info.stx_mask & STATX_MNT_ID)
        return info.stx_mnt_id;
    return (static_cast<std::uint64_t>(info.stx_dev_major) << 32) | info.stx_dev_minor;
}

Node nodeOf(const struct statx& info)
{
    return Node{static_cast<mode_t>(info.stx_mode), info.stx_size, info.stx_blocks, info.stx_uid, mountKey(info)};
}

// The entry `name` in the folder `dirFd`; a link is described as a link.
bool nodeAt(int dirFd, const char* name, Node& node)
{
    struct statx info {};
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatxWanted, &info) != 0)
        return false;
    node = nodeOf(info);
    return true;
}

Node nodeOfFd(int fd)
{
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, kStatxWanted, &info) != 0)
        throwOsError(errno, Missing::Path);
    return nodeOf(info);
}

bool isDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The names directly inside an open folder; the folder's descriptor stays the caller's.
std::vector<std::string> namesIn(int dirFd)
{
    const int own = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        throwOsError(errno, Missing::Path);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(own));
    if (!dir) {
        ::close(own);
        throwOsError(errno, Missing::Path);
    }
    ::rewinddir(dir.get());
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        if (!isDotEntry(entry->d_name))
            names.emplace_back(entry->d_name);
    }
    if (errno != 0)
        throwOsError(errno, Missing::Path);
    return names;
}

// Opens a sub-folder of the walk: never through a link, never into another mount.
UniqueFd openSubFolder(int dirFd, const std::string& name, std::uint64_t mount)
{
    UniqueFd sub(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!sub.valid())
        throwOsError(errno, Missing::Path);
    // The name may have been swapped for a mount point since it was looked at.
    if (nodeOfFd(sub.get()).mount != mount)
        throw Error(ErrorKind::Other, "Path/File access error");
    return sub;
}

UniqueFd openFolder(const std::string& path, int extraFlags)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags));
    if (!fd.valid())
        throwOsError(errno, Missing::Path);
    return fd;
}

template <typename Visit>
void walk(int dirFd, std::uint64_t mount, const Visit& visit)
{
    for (const auto& name : namesIn(dirFd)) {
        Node node;
        if (!nodeAt(dirFd, name.c_str(), node))
            continue; // gone meanwhile
        visit(node);
        if (node.isFolder() && node.mount == mount) {
            const auto sub = openSubFolder(dirFd, name, mount);
            walk(sub.get(), mount, visit);
        }
    }
}

// A read-only folder of the user's own would refuse to let its entries go: forcing means
// giving the owner the rights back first.
bool giveOwnerRights(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid())
        return false;
    return ::fchmod(fd, (info.st_mode & 07777) | S_IRWXU) == 0;
}

void unlinkForced(int dirFd, const std::string& name, int flags)
{
    if (::unlinkat(dirFd, name.c_str(), flags) == 0)
        return;
    if ((errno == EACCES || errno == EPERM) && giveOwnerRights(dirFd) && ::unlinkat(dirFd, name.c_str(), flags) == 0)
        return;
    throwOsError(errno, Missing::File);
}

UniqueFd openForRemoval(int dirFd, const std::string& name, std::uint64_t mount)
{
    UniqueFd sub(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!sub.valid() && errno == EACCES) {
        // A folder without read or search rights for its owner: give them back and look again.
        Node node;
        if (nodeAt(dirFd, name.c_str(), node) && node.uid == ::geteuid() &&
            ::fchmodat(dirFd, name.c_str(), (node.mode & 07777) | S_IRWXU, 0) == 0)
            sub = UniqueFd(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        else
            errno = EACCES;
    }
    if (!sub.valid())
        throwOsError(errno, Missing::Path);
    if (nodeOfFd(sub.get()).mount != mount)
        throw Error(ErrorKind::Other, "Path/File access error");
    return sub;
}

void removeInside(int dirFd, std::uint64_t mount, WorkProgress* progress)
{
    for (const auto& name : namesIn(dirFd)) {
        Node node;
        if (!nodeAt(dirFd, name.c_str(), node))
            continue;
        if (node.isFolder()) {
            // A file system mounted inside stays; the folder holding it then cannot go either.
            if (node.mount != mount)
                continue;
            {
                const auto sub = openForRemoval(dirFd, name, mount);
                removeInside(sub.get(), mount, nullptr);
            }
            unlinkForced(dirFd, name, AT_REMOVEDIR);
        } else {
            unlinkForced(dirFd, name, 0);
        }
        if (progress)
            ++progress->done;
    }
}

struct GFreer {
    void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreer>;

// The first bytes of a regular file, for recognising its content; a file that cannot be read
// is recognised by its name alone.
std::string headOf(const std::string& path)
{
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    std::string head(4096, '\0');
    const ssize_t got = ::read(fd.get(), head.data(), head.size());
    head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return head;
}

void copyBytes(int from, int to, WorkProgress& progress)
{
    constexpr std::size_t chunk = 4 * 1024 * 1024;
    bool plain = false; // sendfile refused these files: read and write instead
    std::vector<char> buffer;
    for (;;) {
        if (progress.cancelled)
            throw Error(ErrorKind::Other, "Move cancelled");
        ssize_t copied = -1;
        if (!plain) {
            copied = ::sendfile(to, from, nullptr, chunk);
            if (copied < 0 && (errno == EINVAL || errno == ENOSYS)) {
                plain = true;
                buffer.resize(chunk);
            }
        }
        if (plain) {
            copied = ::read(from, buffer.data(), buffer.size());
            if (copied > 0)
                writeAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(copied)));
        }
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            throwOsError(errno, Missing::Path);
        }
        if (copied == 0)
            return;
        progress.done += static_cast<std::uint64_t>(copied);
    }
}

void moveLinkAcross(const std::string& from, const std::string& to)
{
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(from.c_str(), target.data(), target.size());
    if (length < 0)
        throwOsError(errno, Missing::File);
    target.resize(static_cast<std::size_t>(length));
    if (::symlink(target.c_str(), to.c_str()) != 0)
        throwOsError(errno, Missing::Path);
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        throwOsError(error, Missing::File);
    }
}

void copyFileAcross(const std::string& from, const std::string& to, WorkProgress& progress)
{
    const UniqueFd source(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!source.valid())
        throwOsError(errno, Missing::File);
    struct stat info {};
    if (::fstat(source.get(), &info) != 0)
        throwOsError(errno, Missing::File);
    progress.total = static_cast<std::uint64_t>(info.st_size);

    const auto [folder, name] = splitFolderAndName(to);
    TemporaryFile copy(folder, name, 0600);
    copyBytes(source.get(), copy.fd(), progress);
    // The copy keeps what it can of the original: its rights, its owner, its times.
    copy.setMode(info.st_mode & 07777);
    (void)::fchown(copy.fd(), info.st_uid, info.st_gid);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    (void)::futimens(copy.fd(), times);
    copy.flushAndClose();
    if (progress.cancelled)
        throw Error(ErrorKind::Other, "Move cancelled");
    copy.placeAt(to);
    flushFolder(folder);
    // Only a copy that is whole in place lets the source go; a source that cannot go takes the
    // copy back, so the file is never left twice.
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        throwOsError(error, Missing::File);
    }
}

bool renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

DateTime localDateTime(std::int64_t secondsSinceEpoch)
{
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local {};
    ::localtime_r(&t, &local);
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

PathFacts pathFacts(const std::string& path)
{
    PathFacts facts;
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0)
        return facts;
    facts.link = S_ISLNK(own.st_mode);
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        return facts; // a link whose target is gone names nothing
    facts.kind = S_ISDIR(info.stx_mode) ? PathKind::Folder : PathKind::File;
    facts.size = info.stx_size;
    facts.accessed = localDateTime(info.stx_atime.tv_sec);
    facts.modified = localDateTime(info.stx_mtime.tv_sec);
    if (info.stx_mask & STATX_BTIME)
        facts.created = localDateTime(info.stx_btime.tv_sec);
    return facts;
}

std::string typeName(const std::string& path)
{
    const std::string head = headOf(path);
    gboolean uncertain = FALSE;
    const GText type(g_content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(head.data()), head.size(),
                                          &uncertain));
    if (!type)
        return {};
    const GText description(g_content_type_get_description(type.get()));
    return description ? std::string(description.get()) : std::string();
}

std::uint64_t folderSize(const std::string& path)
{
    const auto top = openFolder(path, 0);
    const auto mount = nodeOfFd(top.get()).mount;
    std::uint64_t total = 0;
    walk(top.get(), mount, [&](const Node& node) { total += S_ISREG(node.mode) ? node.size : 0; });
    return total;
}

std::uint64_t diskUsage(const std::string& path)
{
    const auto top = openFolder(path, O_NOFOLLOW);
    const auto self = nodeOfFd(top.get());
    std::uint64_t total = self.blocks * 512;
    walk(top.get(), self.mount, [&](const Node& node) { total += node.blocks * 512; });
    return total;
}

void deleteFolder(const std::string& path)
{
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0)
        throwOsError(errno, Missing::Path);
    if (S_ISLNK(own.st_mode)) {
        // The link goes, not the folder it points to.
        if (::unlink(path.c_str()) != 0)
            throwOsError(errno, Missing::Path);
        return;
    }
    if (!S_ISDIR(own.st_mode))
        throwOsError(ENOTDIR, Missing::Path);
    {
        auto top = openFolder(path, O_NOFOLLOW);
        if (::faccessat(top.get(), ".", R_OK | W_OK | X_OK, AT_EACCESS) != 0)
            giveOwnerRights(top.get());
        removeInside(top.get(), nodeOfFd(top.get()).mount, nullptr);
    }
    if (::rmdir(path.c_str()) != 0)
        throwOsError(errno, Missing::Path);
}

void removeContents(int dirFd, WorkProgress* progress)
{
    removeInside(dirFd, nodeOfFd(dirFd).mount, progress);
}

void moveFile(const std::string& from, const std::string& to, WorkProgress& progress)
{
    struct stat info {};
    if (::lstat(from.c_str(), &info) != 0)
        throwOsError(errno, Missing::File);
    progress.total = static_cast<std::uint64_t>(info.st_size);
    if (renameNoReplace(from, to)) {
        progress.done = progress.total.load();
        return;
    }
    if (errno != EXDEV)
        throwOsError(errno, Missing::File);
    // Nothing is copied for a target that could not be placed anyway.
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
        throwOsError(EEXIST, Missing::Path);
    if (S_ISLNK(info.st_mode))
        moveLinkAcross(from, to);
    else if (S_ISREG(info.st_mode))
        copyFileAcross(from, to, progress);
    else
        throw Error(ErrorKind::Other, "Path/File access error"); // folders and devices stay on their drive
}

} // namespace volmara::posixfs
