#include "platform/posix/files_posix.h"

#include "core/error.h"

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

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    // Closing reports late write errors (network file systems, delayed allocation).
    bool close()
    {
        return ::close(release()) == 0;
    }

private:
    int fd_;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// What a missing path means depends on the operation: a file that is not there, or the folder
// a file was to be written into.
enum class Missing { File, Path };

[[noreturn]] void throwOsError(int error, Missing missing)
{
    switch (error) {
    case ENOMEM:
        throw Error(ErrorKind::OutOfMemory, "Out of memory");
    case ENOENT:
    case ENOTDIR:
        throw Error(ErrorKind::Other, missing == Missing::File ? "File not found" : "Path not found");
    case EACCES:
    case EPERM:
        throw Error(ErrorKind::Other, "Permission denied");
    case ENOSPC:
    case EDQUOT:
        throw Error(ErrorKind::Other, "Disk full");
    case EIO:
        throw Error(ErrorKind::Other, "Device I/O error");
    case ENXIO:
    case ENODEV:
    case ENOTCONN:
    case ESTALE:
    case EHOSTDOWN:
        throw Error(ErrorKind::Other, "Device unavailable");
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EISDIR:
    case EEXIST:
    case ELOOP:
    case ENAMETOOLONG:
        throw Error(ErrorKind::Other, "Path/File access error");
    default:
        throw Error(ErrorKind::Other, std::system_category().message(error));
    }
}

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

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwOsError(errno, Missing::Path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void closeOrThrow(UniqueFd& fd)
{
    if (!fd.close())
        throwOsError(errno, Missing::Path);
}

bool isFolderEntry(int dirFd, const dirent& entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(dirFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
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

std::pair<std::string, std::string> splitFolderAndName(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// A temporary file beside the target, removed again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const std::string& folder, const std::string& name, mode_t mode)
    {
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = (folder == "/" ? "" : folder) + "/." + name + '.' + std::to_string(random() % 1000000000) + ".tmp";
            fd_ = UniqueFd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            if (fd_.valid() || errno != EEXIST)
                break;
        }
        if (!fd_.valid())
            throwOsError(errno, Missing::Path);
    }
    ~TemporaryFile()
    {
        fd_.reset();
        if (!placed_)
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }

    void setMode(mode_t mode)
    {
        if (::fchmod(fd_.get(), mode) != 0)
            throwOsError(errno, Missing::Path);
    }

    void flushAndClose()
    {
        if (::fsync(fd_.get()) != 0)
            throwOsError(errno, Missing::Path);
        closeOrThrow(fd_);
    }

    void renameOver(const std::string& target)
    {
        if (::rename(path_.c_str(), target.c_str()) != 0)
            throwOsError(errno, Missing::Path);
        placed_ = true;
    }

private:
    std::string path_;
    UniqueFd fd_;
    bool placed_ = false;
};

// Makes the rename itself durable; the data is already on the disk, so a failure here is not
// worth failing the save for.
void flushFolder(const std::string& folder)
{
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
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
    UniqueFd fd(::open(asPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd.get()));
    if (!dir)
        return std::nullopt;
    const int dirFd = fd.release(); // owned by the DIR now

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

} // namespace volmara
