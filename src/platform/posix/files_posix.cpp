#include "platform/posix/files_posix.h"

#include "core/error.h"
#include "platform/posix/files/file_operations.h"
#include "platform/posix/files/os_error.h"
#include "platform/posix/files/temporary_file.h"
#include "platform/posix/files/unique_fd.h"

#include <cerrno>
#include <utility>
#include <cstdlib>
#include <memory>
#include <random>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara {

namespace {

std::string asPath(std::string_view path)
{
    return std::string(path);
}

std::optional<struct stat> statOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return info;
}

UniqueFd openOrThrow(const std::string& path, int flags, mode_t mode, Missing missing)
{
    UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC, mode));
    if (!fd.valid())
        throwOsError(errno, missing);
    return fd;
}

bool isFolderEntry(int dirFd, const dirent& entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// An open folder for reading its entries; null when it cannot be opened.
std::unique_ptr<DIR, DirCloser> openFolder(const std::string& path)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return nullptr;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd.get()));
    if (dir)
        fd.release(); // owned by the DIR now
    return dir;
}

bool isDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The file a replace writes: the target of a symbolic link, so that the link survives.
std::string replaceTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

} // namespace

bool PosixFiles::fileExists(std::string_view path)
{
    const auto info = statOf(asPath(path));
    return info && !S_ISDIR(info->st_mode);
}

bool PosixFiles::folderExists(std::string_view path)
{
    const auto info = statOf(asPath(path));
    return info && S_ISDIR(info->st_mode);
}

std::optional<FolderCounts> PosixFiles::folderCounts(std::string_view path)
{
    const auto dir = openFolder(asPath(path));
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir.get());

    FolderCounts counts;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        if (isDotEntry(entry->d_name))
            continue;
        if (isFolderEntry(dirFd, *entry))
            ++counts.folders;
        else
            ++counts.files;
    }
    if (errno != 0)
        return std::nullopt;
    return counts;
}

std::optional<std::vector<FileStamp>> PosixFiles::filesModifiedSince(std::string_view folder, DateTime since)
{
    const auto dir = openFolder(asPath(folder));
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir.get());

    std::vector<FileStamp> found;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        if (isDotEntry(entry->d_name) || (entry->d_type != DT_UNKNOWN && entry->d_type != DT_REG))
            continue;
        struct stat info {};
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue; // gone meanwhile, or not a plain file
        auto modified = posixfs::localDateTime(info.st_mtim.tv_sec);
        if (modified >= since)
            found.push_back(FileStamp{entry->d_name, modified});
    }
    if (errno != 0)
        return std::nullopt;
    return found;
}

std::optional<std::string> PosixFiles::readFile(std::string_view path)
{
    UniqueFd fd(::open(asPath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode))
        return std::nullopt;

    std::string content;
    if (info.st_size > 0)
        content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return content;
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

void PosixFiles::appendFile(std::string_view path, std::string_view bytes)
{
    UniqueFd fd = openOrThrow(asPath(path), O_WRONLY | O_APPEND | O_CREAT, 0666, Missing::Path);
    struct stat before {};
    const bool sized = ::fstat(fd.get(), &before) == 0;
    try {
        writeAll(fd.get(), bytes);
    } catch (...) {
        // A half-written block (a full disk) is taken back, so that the retry the caller makes
        // later does not leave a torn copy in front of the whole one.
        if (sized)
            (void)::ftruncate(fd.get(), before.st_size);
        throw;
    }
    closeOrThrow(fd);
}

void PosixFiles::replaceFile(std::string_view path, std::string_view bytes, Privacy privacy)
{
    const std::string target = replaceTarget(asPath(path));
    const auto [folder, name] = splitFolderAndName(target);
    const auto old = statOf(target);

    TemporaryFile temporary(folder, name, privacy == Privacy::OwnerOnly ? 0600 : 0666);
    if (privacy == Privacy::OwnerOnly)
        temporary.setMode(0600);
    else if (old && S_ISREG(old->st_mode))
        temporary.setMode(old->st_mode & 07777);
    writeAll(temporary.fd(), bytes);
    temporary.flushAndClose();
    temporary.renameOver(target);
    flushFolder(folder);
}

void PosixFiles::removeFile(std::string_view path)
{
    if (::unlink(asPath(path).c_str()) != 0)
        throwOsError(errno, Missing::File);
}

void PosixFiles::renameFile(std::string_view from, std::string_view to)
{
    if (::rename(asPath(from).c_str(), asPath(to).c_str()) != 0)
        throwOsError(errno, Missing::File);
}

void PosixFiles::createFolder(std::string_view path, Privacy privacy)
{
    const auto folder = asPath(path);
    if (::mkdir(folder.c_str(), privacy == Privacy::OwnerOnly ? 0700 : 0777) == 0)
        return;
    const int error = errno;
    if (error == EEXIST && folderExists(folder))
        return;
    throwOsError(error, Missing::Path);
}

PathFacts PosixFiles::pathFacts(std::string_view path) { return posixfs::pathFacts(asPath(path)); }

std::string PosixFiles::typeName(std::string_view path) { return posixfs::typeName(asPath(path)); }

std::uint64_t PosixFiles::folderSize(std::string_view path) { return posixfs::folderSize(asPath(path)); }

void PosixFiles::deleteFolder(std::string_view path) { posixfs::deleteFolder(asPath(path)); }

void PosixFiles::moveFile(std::string_view from, std::string_view to, WorkProgress& progress)
{
    posixfs::moveFile(asPath(from), asPath(to), progress);
}

} // namespace volmara
