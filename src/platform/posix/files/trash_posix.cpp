#include "platform/posix/trash_posix.h"

#include "core/error.h"
#include "platform/posix/files/file_operations.h"
#include "platform/posix/files/os_error.h"
#include "platform/posix/files/temporary_file.h"
#include "platform/posix/files/unique_fd.h"
#include "platform/posix/mount_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <fstream>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string dataHomeFromEnvironment()
{
    const auto xdg = environment("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.front() == '/')
        return xdg;
    return environment("HOME") + "/.local/share";
}

std::string joined(const std::string& folder, const std::string& name)
{
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::string currentFolder()
{
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

std::string realPathOf(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        throwOsError(errno, Missing::Path);
    return real.get();
}

// Folders along a path, made with the owner's rights only when missing.
void makeFolders(const std::string& path)
{
    std::string sofar;
    std::size_t at = 0;
    while (at != std::string::npos) {
        at = path.find('/', at + 1);
        sofar = path.substr(0, at);
        if (sofar.empty())
            continue;
        if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST)
            throwOsError(errno, Missing::Path);
    }
}

// A trash folder is used only when it is a real folder (no link) that belongs to the user.
bool ownedFolder(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

std::optional<dev_t> deviceOfNearestFolder(std::string path)
{
    for (;;) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0)
            return info.st_dev;
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || path == "/")
            return std::nullopt;
        path = slash == 0 ? "/" : path.substr(0, slash);
    }
}

std::string deletionDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The trash folder at the top of a mount for this user: the shared one when the administrator
// made it as the freedesktop trash rules ask (sticky, not a link), else the user's own.
std::string topTrashFor(const std::string& topdir, bool create)
{
    const std::string uid = std::to_string(::geteuid());
    const std::string shared = joined(topdir, ".Trash");
    struct stat info {};
    if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
        const std::string own = joined(shared, uid);
        if (create && ::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
            throwOsError(errno, Missing::Path);
        if (!create || ownedFolder(own))
            return own;
    }
    const std::string own = joined(topdir, ".Trash-" + uid);
    if (create && ::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        throwOsError(errno, Missing::Path);
    if (create && !ownedFolder(own))
        throw Error(ErrorKind::Other, "Permission denied");
    return own;
}

void makeTrashFolders(const std::string& trash)
{
    for (const char* part : {"files", "info"}) {
        const auto folder = joined(trash, part);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            throwOsError(errno, Missing::Path);
        if (!ownedFolder(folder))
            throw Error(ErrorKind::Other, "Permission denied");
    }
}

struct Reserved {
    std::string name;     // name in files/ and info/
    std::string infoPath; // the info file that reserves it
};

// Makes the info file of a new item under the first free name: "a.txt", "a.txt.2", ...
Reserved reserveName(const std::string& trash, const std::string& name, const std::string& infoText)
{
    for (int n = 1; n < 10000; ++n) {
        const std::string candidate = n == 1 ? name : name + '.' + std::to_string(n);
        const std::string info = joined(trash, "info/" + candidate + ".trashinfo");
        UniqueFd fd(::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.valid()) {
            if (errno == EEXIST)
                continue;
            throwOsError(errno, Missing::Path);
        }
        struct stat taken {};
        if (::lstat(joined(trash, "files/" + candidate).c_str(), &taken) == 0) {
            // An item without its info file: leave it and take the next name.
            fd.reset();
            ::unlink(info.c_str());
            continue;
        }
        try {
            writeAll(fd.get(), infoText);
            if (::fsync(fd.get()) != 0)
                throwOsError(errno, Missing::Path);
            closeOrThrow(fd);
        } catch (...) {
            ::unlink(info.c_str());
            throw;
        }
        return Reserved{candidate, info};
    }
    throw Error(ErrorKind::Other, "Path/File access error");
}

void recordDirectorySize(const std::string& trash, const Reserved& item)
{
    struct stat info {};
    if (::stat(item.infoPath.c_str(), &info) != 0)
        return;
    const auto size = posixfs::diskUsage(joined(trash, "files/" + item.name));
    const std::string encoded = trashInfoEncode(item.name);
    const std::string cache = joined(trash, "directorysizes");
    std::string kept;
    std::ifstream old(cache);
    for (std::string line; std::getline(old, line);) {
        const auto second = line.find(' ', line.find(' ') + 1);
        if (second != std::string::npos && line.substr(second + 1) == encoded)
            continue;
        kept += line + '\n';
    }
    kept += std::to_string(size) + ' ' + std::to_string(info.st_mtime) + ' ' + encoded + '\n';
    TemporaryFile temporary(trash, "directorysizes", 0600);
    writeAll(temporary.fd(), kept);
    temporary.flushAndClose();
    temporary.renameOver(cache);
}

// Puts the item into one trash folder; false when the rename cannot cross to it (another mount).
bool trashInto(const std::string& trash, const std::string& item, const std::string& recordedPath, bool folder)
{
    makeTrashFolders(trash);
    const auto [parent, name] = splitFolderAndName(item);
    const std::string infoText =
        "[Trash Info]\nPath=" + trashInfoEncode(recordedPath) + "\nDeletionDate=" + deletionDate() + "\n";
    const Reserved reserved = reserveName(trash, name, infoText);
    if (::rename(item.c_str(), joined(trash, "files/" + reserved.name).c_str()) != 0) {
        const int error = errno;
        ::unlink(reserved.infoPath.c_str());
        if (error == EXDEV)
            return false;
        throwOsError(error, Missing::File);
    }
    if (folder) {
        try {
            recordDirectorySize(trash, reserved);
        } catch (const Error&) {
            // The cache only saves the file manager a walk; the item is in the trash.
        }
    }
    return true;
}

std::uint64_t itemsIn(int dirFd)
{
    UniqueFd own(::fcntl(dirFd, F_DUPFD_CLOEXEC, 0));
    if (!own.valid())
        return 0;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(own.get()));
    if (!dir)
        return 0;
    own.release();
    std::uint64_t items = 0;
    while (const dirent* entry = ::readdir(dir.get()))
        items += std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != ".." ? 1 : 0;
    return items;
}

} // namespace

std::string trashInfoEncode(const std::string& path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
                          std::string_view("-_.!~*'()/").find(c) != std::string_view::npos;
        if (kept) {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    return out;
}

PosixTrash::PosixTrash() : PosixTrash(dataHomeFromEnvironment()) {}

PosixTrash::PosixTrash(std::string dataHome, std::string mountinfoFile)
    : dataHome_(std::move(dataHome)), homeTrash_(joined(dataHome_, "Trash")), mountinfo_(std::move(mountinfoFile))
{
}

void PosixTrash::moveToTrash(const std::string& path)
{
    if (path.empty())
        throw Error(ErrorKind::Other, "File not found");
    const std::string absolute = normalAbsolutePath(path.front() == '/' ? path : joined(currentFolder(), path));
    struct stat item {};
    if (absolute.empty() || ::lstat(absolute.c_str(), &item) != 0)
        throwOsError(absolute.empty() ? ENOENT : errno, Missing::File);
    const bool folder = S_ISDIR(item.st_mode);

    if (deviceOfNearestFolder(homeTrash_) == item.st_dev) {
        makeFolders(homeTrash_);
        if (trashInto(homeTrash_, absolute, absolute, folder))
            return;
    }
    // The trash at the top of the item's own mount; links in the folders above are resolved, so
    // the mount is the one the item really lies on.
    const auto [parent, name] = splitFolderAndName(absolute);
    const std::string real = joined(realPathOf(parent), name);
    const auto table = readMountTable(mountinfo_);
    const MountRecord* mount = mountHolding(table, real);
    if (!mount)
        throw Error(ErrorKind::Other, "Path not found");
    const std::string topdir = mount->target;
    const std::string relative = real.substr(topdir == "/" ? 1 : topdir.size() + 1);
    if (!trashInto(topTrashFor(topdir, true), real, relative, folder))
        throw Error(ErrorKind::Other, "Path/File access error");
}

std::vector<std::string> PosixTrash::trashFolders(const std::string& path)
{
    const auto table = readMountTable(mountinfo_);
    std::vector<std::string> out;
    const auto add = [&](const std::string& folder) {
        if (std::find(out.begin(), out.end(), folder) == out.end())
            out.push_back(folder);
    };
    const MountRecord* homeMount = mountHolding(table, normalAbsolutePath(homeTrash_));
    if (path.empty()) {
        add(homeTrash_);
        for (const auto& mount : fillableMounts(table)) {
            add(joined(joined(mount.target, ".Trash"), std::to_string(::geteuid())));
            add(joined(mount.target, ".Trash-" + std::to_string(::geteuid())));
        }
        return out;
    }
    const MountRecord* mount = mountHolding(table, normalAbsolutePath(path));
    if (!mount)
        return out;
    if (homeMount && homeMount->target == mount->target)
        add(homeTrash_);
    add(joined(joined(mount->target, ".Trash"), std::to_string(::geteuid())));
    add(joined(mount->target, ".Trash-" + std::to_string(::geteuid())));
    return out;
}

bool PosixTrash::emptyTrashFolder(const std::string& folder, WorkProgress& progress)
{
    if (!ownedFolder(folder))
        return false;
    const UniqueFd trash(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!trash.valid())
        return false;
    for (const char* part : {"files", "info"}) {
        const UniqueFd inner(::openat(trash.get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!inner.valid())
            continue;
        const bool counted = std::string_view(part) == "files";
        if (counted) {
            progress.total += itemsIn(inner.get());
        }
        posixfs::removeContents(inner.get(), counted ? &progress : nullptr);
    }
    // Nothing is left that the cache could speak of.
    if (::unlinkat(trash.get(), "directorysizes", 0) != 0 && errno != ENOENT)
        throwOsError(errno, Missing::File);
    return true;
}

} // namespace volmara
