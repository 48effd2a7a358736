#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace volmara {

inline constexpr std::size_t kSectorSize = 512;

// One 512-byte sector as read from the volume.
using SectorBuffer = std::array<std::uint8_t, kSectorSize>;

// Appends the character whose code is `byte` (code points 0 to 255) in UTF-8, the encoding
// of every text the core hands to the windows.
void appendCharacter(std::string& text, std::uint8_t byte);

// Two upper-case hexadecimal digits ("F8", "0F").
std::string hex2(std::uint8_t byte);

} // namespace volmara
