#include "platform/posix/driveinfo/posix_raw_volumes.h"

#include "platform/posix/driveinfo/read_only_volume.h"
#include "platform/posix/driveinfo/volume_location.h"

namespace volmara {
namespace {

class PosixRawVolume final : public RawVolume {
public:
    explicit PosixRawVolume(posix::OpenedVolume volume) : volume_(std::move(volume)) {}

    std::optional<std::size_t> readAt(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        return posix::readFully(volume_.fd.get(), offset, out.data(), out.size());
    }

    std::uint64_t size() const override { return volume_.size; }

private:
    posix::OpenedVolume volume_;
};

} // namespace

PosixRawVolumes::PosixRawVolumes(std::string mountinfoFile) : mounts_(std::move(mountinfoFile))
{
}

std::unique_ptr<RawVolume> PosixRawVolumes::open(std::string_view path)
{
    const posix::VolumeLocation location = posix::locateVolume(path, mounts_);
    if (!location.device)
        return nullptr;
    std::optional<posix::OpenedVolume> volume = posix::openVolumeReadOnly(*location.device);
    if (!volume)
        return nullptr;
    return std::make_unique<PosixRawVolume>(std::move(*volume));
}

} // namespace volmara
