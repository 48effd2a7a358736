#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace volmara::posix {

// A descriptor opened for reading only; closed on destruction.
class ReadOnlyFd {
public:
    ReadOnlyFd() = default;
    explicit ReadOnlyFd(int fd) : fd_(fd) {}
    ReadOnlyFd(ReadOnlyFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ReadOnlyFd& operator=(ReadOnlyFd&& other) noexcept;
    ReadOnlyFd(const ReadOnlyFd&) = delete;
    ReadOnlyFd& operator=(const ReadOnlyFd&) = delete;
    ~ReadOnlyFd();

    int get() const { return fd_; }

private:
    int fd_ = -1;
};

enum class VolumeKind { ImageFile, BlockDevice };

struct OpenedVolume {
    ReadOnlyFd fd;
    VolumeKind kind = VolumeKind::ImageFile;
    std::uint64_t size = 0;
};

// Opens a regular file or a block device for reading only. Anything else (a folder, a FIFO,
// a character device) is refused without blocking. nullopt on failure.
std::optional<OpenedVolume> openVolumeReadOnly(const std::string& path);

// Reads up to `length` bytes at `offset`, retrying short reads until the end of the data.
// nullopt on a failed read.
std::optional<std::size_t> readFully(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t length);

} // namespace volmara::posix
