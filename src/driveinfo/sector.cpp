#include "driveinfo/sector.h"

namespace volmara {

void appendCharacter(std::string& text, std::uint8_t byte)
{
    if (byte < 0x80) {
        text.push_back(static_cast<char>(byte));
        return;
    }
    text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
}

std::string hex2(std::uint8_t byte)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}

} // namespace volmara
