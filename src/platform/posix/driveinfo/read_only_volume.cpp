#include "platform/posix/driveinfo/read_only_volume.h"

#include <cerrno>
#include <cstdint>
#include <limits>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara::posix {

ReadOnlyFd& ReadOnlyFd::operator=(ReadOnlyFd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ReadOnlyFd::~ReadOnlyFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

std::optional<std::uint64_t> volumeSize(int fd, const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return static_cast<std::uint64_t>(st.st_size);
    std::uint64_t bytes = 0;
    if (::ioctl(fd, BLKGETSIZE64, &bytes) != 0)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<OpenedVolume> openVolumeReadOnly(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO from hanging the open; it is cleared once the kind is known.
    ReadOnlyFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)))
        return std::nullopt;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return std::nullopt;
    const std::optional<std::uint64_t> size = volumeSize(fd.get(), st);
    if (!size)
        return std::nullopt;
    return OpenedVolume{std::move(fd), S_ISBLK(st.st_mode) ? VolumeKind::BlockDevice : VolumeKind::ImageFile, *size};
}

std::optional<std::size_t> readFully(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t length)
{
    constexpr auto maxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    if (offset > maxOffset || length > maxOffset - offset)
        return std::nullopt;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace volmara::posix
