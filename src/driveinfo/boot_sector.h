#pragma once

#include "driveinfo/sector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// One row of the partition information list: field name and value text.
struct InfoRow {
    std::string name;
    std::string value;

    bool operator==(const InfoRow&) const = default;
};

using FieldList = std::vector<InfoRow>;

// Boot-record layouts the reader knows.
enum class BootLayout { None, Fat12Or16, Fat32, Ntfs };

void prcAddInfoRow(FieldList& rows, std::string_view name, std::string value);

// The shown fields of `layout`, in display order; no rows for BootLayout::None. For FAT32 these
// are the boot-sector rows only; the information sector adds its rows separately.
FieldList decodeBootSector(BootLayout layout, const SectorBuffer& sector);

// The two rows of a FAT32 file-system information sector. Its signatures are not checked.
FieldList decodeFsInfoSector(const SectorBuffer& sector);

// Byte offset of the FAT32 information sector: its sector number times the bytes per sector,
// both taken from the boot sector as unsigned 16-bit values.
std::uint64_t fsInfoSectorOffset(const SectorBuffer& bootSector);

} // namespace volmara
