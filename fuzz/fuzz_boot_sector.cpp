// Fuzzes the boot-sector reader end to end over an in-memory volume: the first input byte picks
// the reported file-system name and how the volume misbehaves, the rest is the volume.
#include "driveinfo/boot_sector.h"
#include "driveinfo/boot_sector_reader.h"
#include "driveinfo/drive_attributes.h"
#include "driveinfo/file_system_name.h"
#include "driveinfo/sector_dump.h"
#include "fakes/fake_raw_volumes.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

using volmara::BootLayout;
using volmara::BootReadOutcome;
using volmara::kSectorSize;

constexpr std::array<std::string_view, 6> kNames{"FAT12", "fat16", "FAT32", "NTFS", "EXT4", ""};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::size_t countOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

std::size_t rowsFor(std::string_view name)
{
    switch (volmara::layoutForFileSystem(volmara::normaliseFileSystemName(name))) {
    case BootLayout::Fat12Or16:
        return 14;
    case BootLayout::Fat32:
        return 21;
    case BootLayout::Ntfs:
        return 12;
    case BootLayout::None:
        break;
    }
    return 0;
}

void decodeEveryLayout(const volmara::SectorBuffer& sector)
{
    for (const BootLayout layout : {BootLayout::Fat12Or16, BootLayout::Fat32, BootLayout::Ntfs})
        require(!volmara::decodeBootSector(layout, sector).empty());
    require(volmara::decodeFsInfoSector(sector).size() == 2);
    const auto word = [&](std::size_t at, std::size_t width) {
        std::uint64_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = (value << 8) | sector[at + i];
        return value;
    };
    // Cluster sizes as a file system can have them; any cluster counts.
    const volmara::ClusterGeometry geometry{word(0, 2), word(2, 2), word(8, 8), word(16, 8)};
    (void)volmara::driveAttributeTexts({static_cast<volmara::DriveType>(sector[0] % 8), geometry});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const std::string_view name = kNames[selector % kNames.size()];

    volmara::testing::MemoryVolumes volumes;
    auto& image = volumes.images["/v/"];
    image.bytes.assign(data + 1, data + size);
    if (selector & 0x40)
        image.reportedSize = image.bytes.size() + 4096; // a volume shorter than it claims
    if (selector & 0x80)
        image.failReadsFrom = kSectorSize;
    const std::uint64_t volumeSize = image.reportedSize.value_or(image.bytes.size());
    volmara::testing::FakeVolumeInfo info;
    info.names["/v/"] = std::string(name);

    volmara::BootSectorReader reader(volumes, info);
    const BootReadOutcome outcome = reader.prcReadBootSector("/v/");

    for (const auto& read : volumes.reads)
        require(read.offset <= volumeSize && read.length <= volumeSize - read.offset);

    if (image.bytes.size() < kSectorSize) {
        require(outcome == BootReadOutcome::ReadFailed);
        require(reader.lvInfo().empty() && reader.txtBytes().empty() && reader.txtChar().empty());
        return 0;
    }
    require(outcome == BootReadOutcome::Shown);
    const std::size_t rows = reader.lvInfo().size();
    const std::size_t bootRows = rowsFor(name);
    require(rows == bootRows || (bootRows == 21 && rows == 23));
    require(reader.txtBytes().size() == 512 * 2 + 63 * 2 + 448);
    require(countOf(reader.txtChar(), "\r\n") == 64);

    volmara::SectorBuffer sector{};
    std::memcpy(sector.data(), image.bytes.data(), kSectorSize);
    require(reader.txtBytes() == volmara::hexDump(sector));
    decodeEveryLayout(sector);
    return 0;
}
