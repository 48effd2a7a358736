#pragma once

#include "driveinfo/boot_sector.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes littleEndian(std::uint64_t value, std::size_t width)
{
    Bytes bytes;
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    return bytes;
}

struct Patch {
    std::size_t offset;
    Bytes bytes;
};

inline SectorBuffer sectorWith(std::initializer_list<Patch> patches)
{
    SectorBuffer sector{};
    for (const Patch& p : patches) {
        for (std::size_t i = 0; i < p.bytes.size(); ++i)
            sector.at(p.offset + i) = p.bytes[i];
    }
    return sector;
}

inline std::optional<std::string> valueOf(const FieldList& rows, std::string_view name)
{
    for (const InfoRow& row : rows) {
        if (row.name == name)
            return row.value;
    }
    return std::nullopt;
}

} // namespace volmara::testing
