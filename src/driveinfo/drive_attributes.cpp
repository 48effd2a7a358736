#include "driveinfo/drive_attributes.h"

#include "core/format.h"

namespace volmara {
namespace {

constexpr std::uint64_t kBytesPerMb = 1048576;

// clusters * bytesPerCluster / 1 MB, rounded halves to even, without overflowing on the way:
// the product of three 64-bit counts does not fit in 64 bits, the quotient does.
std::uint64_t wholeMegabytes(std::uint64_t bytesPerCluster, std::uint64_t clusters)
{
    const std::uint64_t whole = clusters / kBytesPerMb * bytesPerCluster;
    const std::uint64_t part = clusters % kBytesPerMb * bytesPerCluster; // < 2^20 * bytesPerCluster
    std::uint64_t mb = whole + part / kBytesPerMb;
    const std::uint64_t remainder = part % kBytesPerMb;
    const std::uint64_t half = kBytesPerMb / 2;
    if (remainder > half || (remainder == half && mb % 2 == 1))
        ++mb;
    return mb;
}

// Whole megabytes with the locale's grouping.
std::string grouped(std::uint64_t megabytes, const Locale& locale)
{
    return formatNumber(static_cast<double>(megabytes), "###,##0", locale);
}

} // namespace

std::optional<std::string_view> driveTypeText(DriveType type)
{
    switch (type) {
    case DriveType::Unknown:
        return "Unknown";
    case DriveType::NotFound:
        return "Not Found";
    case DriveType::Removable:
        return "Removable";
    case DriveType::Fixed:
        return "Fixed";
    case DriveType::Remote:
        return "Remote";
    case DriveType::CdRom:
        return "CD-ROM";
    case DriveType::RamDisk:
        return "Ram Disk";
    }
    return std::nullopt;
}

DriveAttributeTexts driveAttributeTexts(const DriveAttributes& attributes, const Locale& locale)
{
    const ClusterGeometry& g = attributes.geometry;
    const std::uint64_t bytesPerCluster = g.sectorsPerCluster * g.bytesPerSector;
    DriveAttributeTexts texts;
    if (const auto type = driveTypeText(attributes.type))
        texts.driveType = std::string(*type);
    texts.sectorsPerCluster = std::to_string(g.sectorsPerCluster);
    texts.bytesPerSector = std::to_string(g.bytesPerSector);
    texts.freeClusters = std::to_string(g.freeClusters);
    texts.totalClusters = std::to_string(g.totalClusters);
    texts.totalFreeSpace = grouped(wholeMegabytes(bytesPerCluster, g.freeClusters), locale);
    texts.totalDriveSpace = grouped(wholeMegabytes(bytesPerCluster, g.totalClusters), locale);
    return texts;
}

} // namespace volmara
