#include "platform/posix/files/temporary_file.h"

#include "platform/posix/files/os_error.h"

#include <cerrno>
#include <random>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara {

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

std::pair<std::string, std::string> splitFolderAndName(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

void flushFolder(const std::string& folder)
{
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& name, mode_t mode)
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

TemporaryFile::~TemporaryFile()
{
    fd_.reset();
    if (!placed_)
        ::unlink(path_.c_str());
}

void TemporaryFile::setMode(mode_t mode)
{
    if (::fchmod(fd_.get(), mode) != 0)
        throwOsError(errno, Missing::Path);
}

void TemporaryFile::flushAndClose()
{
    if (::fsync(fd_.get()) != 0)
        throwOsError(errno, Missing::Path);
    closeOrThrow(fd_);
}

void TemporaryFile::renameOver(const std::string& target)
{
    if (::rename(path_.c_str(), target.c_str()) != 0)
        throwOsError(errno, Missing::Path);
    placed_ = true;
}

void TemporaryFile::placeAt(const std::string& target)
{
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            throwOsError(errno, Missing::Path);
        // A file system without the no-replace rename: a hard link refuses an existing name too.
        if (::link(path_.c_str(), target.c_str()) != 0)
            throwOsError(errno, Missing::Path);
        ::unlink(path_.c_str());
    }
    placed_ = true;
}

} // namespace volmara
