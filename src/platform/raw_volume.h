#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace volmara {

// An open volume, read as raw bytes from its start. Read-only by construction: there is no
// way to write through it. Destroying it closes the underlying handle. A read may block on the
// device: it is made on an I/O worker, by one thread at a time.
class RawVolume {
public:
    virtual ~RawVolume() = default;

    // Reads up to out.size() bytes from byte `offset` of the volume. Returns how many bytes
    // were read (fewer at the end of the volume), nullopt when the read failed.
    virtual std::optional<std::size_t> readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;

    // Size of the volume in bytes.
    virtual std::uint64_t size() const = 0;
};

// Opens volumes for raw reading. An open may block: it is made on the I/O workers (thread-safe,
// several at once).
class RawVolumes {
public:
    virtual ~RawVolumes() = default;

    // `path` names a drive (a mount point or any folder on it, whose device is opened), a
    // block device or an image file. The volume is opened for reading only. nullptr when it
    // cannot be opened.
    virtual std::unique_ptr<RawVolume> open(std::string_view path) = 0;
};

} // namespace volmara
