#include "driveinfo/boot_sector_reader.h"

#include "driveinfo/file_system_name.h"
#include "driveinfo/sector_dump.h"

namespace volmara {
namespace {

constexpr std::string_view kOpenErrorText = "Error opening the drive.\r\nClose some applications and try again.";
constexpr std::string_view kReadErrorText = "Error reading the drive.";

// A whole sector or nothing. The offset is checked against the volume's size first, so a
// hostile sector number never sends the read past the end of the volume.
std::optional<SectorBuffer> readSector(RawVolume& volume, std::uint64_t offset)
{
    const std::uint64_t size = volume.size();
    if (offset > size || size - offset < kSectorSize)
        return std::nullopt;
    SectorBuffer sector{};
    const std::optional<std::size_t> count = volume.readAt(offset, sector);
    if (!count || *count != kSectorSize)
        return std::nullopt;
    return sector;
}

} // namespace

std::optional<std::string_view> bootReadFailureText(BootReadOutcome outcome)
{
    switch (outcome) {
    case BootReadOutcome::OpenFailed:
        return kOpenErrorText;
    case BootReadOutcome::ReadFailed:
        return kReadErrorText;
    case BootReadOutcome::Shown:
        break;
    }
    return std::nullopt;
}

BootSectorReader::BootSectorReader(RawVolumes& volumes, VolumeInfo& volumeInfo)
    : volumes_(volumes), volumeInfo_(volumeInfo)
{
}

BootReadOutcome BootSectorReader::prcReadBootSector(std::string_view drive)
{
    close();
    handle_ = volumes_.open(drive);
    if (!handle_)
        return BootReadOutcome::OpenFailed;

    const std::optional<SectorBuffer> sector = readSector(*handle_, 0);
    if (!sector) {
        clearShownData();
        return BootReadOutcome::ReadFailed;
    }
    decode(drive, *sector);
    txtBytes_ = hexDump(*sector);
    txtChar_ = charDump(*sector);
    return BootReadOutcome::Shown;
}

std::string BootSectorReader::prcGetFileSystemName(std::string_view drive) const
{
    return normaliseFileSystemName(volumeInfo_.fileSystemName(drive));
}

void BootSectorReader::close()
{
    handle_.reset();
}

void BootSectorReader::decode(std::string_view drive, const SectorBuffer& sector)
{
    const BootLayout layout = layoutForFileSystem(prcGetFileSystemName(drive));
    lvInfo_ = decodeBootSector(layout, sector);
    if (layout == BootLayout::Fat32)
        appendFsInfoRows(sector);
}

void BootSectorReader::appendFsInfoRows(const SectorBuffer& bootSector)
{
    const std::optional<SectorBuffer> info = readSector(*handle_, fsInfoSectorOffset(bootSector));
    if (!info)
        return;
    for (InfoRow& row : decodeFsInfoSector(*info))
        lvInfo_.push_back(std::move(row));
}

void BootSectorReader::clearShownData()
{
    lvInfo_.clear();
    txtBytes_.clear();
    txtChar_.clear();
}

} // namespace volmara
