#include "driveinfo/boot_sector.h"

#include <array>
#include <cstddef>
#include <span>

namespace volmara {
namespace {

enum class Format {
    U8,
    U16,
    S16,
    S32,
    U64,
    Hex2,
    Hex,
    Text,
    ActiveFatCopy, // low four bits of the extended flags
    FatMirroring,  // bit 7 of the extended flags clear
    DriveVersion,  // major.minor, minor byte first
    S32Clusters,   // S32 followed by " clusters"
};

struct Field {
    std::string_view name;
    std::size_t offset;
    std::size_t width;
    Format format;
};

constexpr std::size_t widthOf(Format format, std::size_t textWidth)
{
    switch (format) {
    case Format::U8:
    case Format::Hex2:
    case Format::ActiveFatCopy:
    case Format::FatMirroring:
        return 1;
    case Format::U16:
    case Format::S16:
    case Format::DriveVersion:
        return 2;
    case Format::S32:
    case Format::Hex:
    case Format::S32Clusters:
        return 4;
    case Format::U64:
        return 8;
    case Format::Text:
        return textWidth;
    }
    return 0;
}

// Every field lies inside the sector and has the width its format reads, checked at compile
// time so that no decode can reach past the buffer whatever the bytes say.
template <std::size_t N>
constexpr bool wellFormed(const std::array<Field, N>& fields)
{
    for (const Field& f : fields) {
        if (f.width == 0 || f.width != widthOf(f.format, f.width))
            return false;
        if (f.offset > kSectorSize || f.width > kSectorSize - f.offset)
            return false;
    }
    return true;
}

constexpr std::array<Field, 14> kFat12Or16Fields{{
    {"OEM name", 3, 8, Format::Text},
    {"Bytes per Sector", 11, 2, Format::U16},
    {"Sectors per cluster", 13, 1, Format::U8},
    {"Reserved sectors", 14, 2, Format::U16},
    {"Number of copies of FAT", 16, 1, Format::U8},
    {"Media Descriptor", 21, 1, Format::Hex2},
    {"Sectors per track", 24, 2, Format::U16},
    {"Number of heads", 26, 2, Format::U16},
    {"Number of hidden sectors", 28, 4, Format::S32},
    {"Number of sectors", 32, 4, Format::S32},
    {"Drive number", 36, 1, Format::U8},
    {"Serial number", 39, 4, Format::Hex},
    {"Volume name", 43, 11, Format::Text},
    {"File system type", 54, 8, Format::Text},
}};

constexpr std::array<Field, 21> kFat32Fields{{
    {"OEM name", 3, 8, Format::Text},
    {"Bytes per Sector", 11, 2, Format::U16},
    {"Sectors per cluster", 13, 1, Format::U8},
    {"Reserved sectors", 14, 2, Format::U16},
    {"Number of copies of FAT", 16, 1, Format::U8},
    {"Media Descriptor", 21, 1, Format::Hex2},
    {"Sectors per track", 24, 2, Format::U16},
    {"Number of heads", 26, 2, Format::U16},
    {"Number of hidden sectors", 28, 4, Format::S32},
    {"Number of sectors", 32, 4, Format::S32},
    {"Number of sectors per FAT", 36, 4, Format::S32},
    {"Active FAT copy", 40, 1, Format::ActiveFatCopy},
    {"FAT mirroring enabled", 40, 1, Format::FatMirroring},
    {"Drive Version", 42, 2, Format::DriveVersion},
    {"Root Directory cluster number", 44, 4, Format::S32},
    {"File System Information sector", 48, 2, Format::U16},
    {"Backup boot sector number", 50, 2, Format::U16},
    {"Drive number", 64, 1, Format::U8},
    {"Serial number", 67, 4, Format::Hex},
    {"Volume name", 71, 11, Format::Text},
    {"FAT name", 82, 8, Format::Text},
}};

constexpr std::array<Field, 12> kNtfsFields{{
    {"OEM name", 3, 8, Format::Text},
    {"Bytes per Sector", 11, 2, Format::U16},
    {"Sectors per cluster", 13, 1, Format::U8},
    {"Media descriptor", 21, 1, Format::Hex2},
    {"Sectors per track", 24, 2, Format::S16},
    {"Number of heads", 26, 2, Format::S16},
    {"Sectors in storage unit", 40, 8, Format::U64},
    {"LCN of MFT data attribute", 48, 8, Format::U64},
    {"LCN of MFT mirror data attribute", 56, 8, Format::U64},
    {"File record size", 64, 4, Format::S32Clusters},
    {"Index buffer size", 68, 4, Format::S32Clusters},
    {"Volume serial number", 72, 4, Format::Hex},
}};

constexpr std::array<Field, 2> kFsInfoFields{{
    {"Last known free cluster", 488, 4, Format::S32},
    {"Starting free cluster", 492, 4, Format::S32},
}};

static_assert(wellFormed(kFat12Or16Fields));
static_assert(wellFormed(kFat32Fields));
static_assert(wellFormed(kNtfsFields));
static_assert(wellFormed(kFsInfoFields));

constexpr std::size_t kFsInfoSectorNumberOffset = 48;
constexpr std::size_t kBytesPerSectorOffset = 11;

std::uint64_t littleEndian(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

std::string hexWithoutPadding(std::uint32_t value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::string characters(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (std::uint8_t b : bytes)
        appendCharacter(text, b);
    return text;
}

std::string boolText(bool value)
{
    return value ? "True" : "False";
}

std::string valueText(Format format, std::span<const std::uint8_t> bytes)
{
    const std::uint64_t raw = littleEndian(bytes);
    switch (format) {
    case Format::U8:
    case Format::U16:
    case Format::U64:
        return std::to_string(raw);
    case Format::S16:
        return std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(raw)));
    case Format::S32:
        return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(raw)));
    case Format::S32Clusters:
        return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(raw))) + " clusters";
    case Format::Hex2:
        return hex2(bytes[0]);
    case Format::Hex:
        return hexWithoutPadding(static_cast<std::uint32_t>(raw));
    case Format::Text:
        return characters(bytes);
    case Format::ActiveFatCopy:
        return std::to_string(bytes[0] & 0x0F);
    case Format::FatMirroring:
        return boolText((bytes[0] & 0x80) == 0);
    case Format::DriveVersion:
        return std::to_string(bytes[1]) + "." + std::to_string(bytes[0]);
    }
    return {};
}

template <std::size_t N>
FieldList decodeFields(const std::array<Field, N>& fields, const SectorBuffer& sector)
{
    FieldList rows;
    rows.reserve(N);
    const std::span<const std::uint8_t> all(sector);
    for (const Field& f : fields)
        prcAddInfoRow(rows, f.name, valueText(f.format, all.subspan(f.offset, f.width)));
    return rows;
}

} // namespace

void prcAddInfoRow(FieldList& rows, std::string_view name, std::string value)
{
    rows.push_back({std::string(name), std::move(value)});
}

FieldList decodeBootSector(BootLayout layout, const SectorBuffer& sector)
{
    switch (layout) {
    case BootLayout::Fat12Or16:
        return decodeFields(kFat12Or16Fields, sector);
    case BootLayout::Fat32:
        return decodeFields(kFat32Fields, sector);
    case BootLayout::Ntfs:
        return decodeFields(kNtfsFields, sector);
    case BootLayout::None:
        break;
    }
    return {};
}

FieldList decodeFsInfoSector(const SectorBuffer& sector)
{
    return decodeFields(kFsInfoFields, sector);
}

std::uint64_t fsInfoSectorOffset(const SectorBuffer& bootSector)
{
    const std::span<const std::uint8_t, kSectorSize> all(bootSector);
    const std::uint64_t sectorNumber = littleEndian(all.subspan<kFsInfoSectorNumberOffset, 2>());
    const std::uint64_t bytesPerSector = littleEndian(all.subspan<kBytesPerSectorOffset, 2>());
    return sectorNumber * bytesPerSector;
}

} // namespace volmara
