#include "driveinfo/sector_dump.h"

#include <cstddef>

namespace volmara {
namespace {

constexpr std::size_t kBytesPerLine = 8;
constexpr const char* kLineEnd = "\r\n";

bool endsLine(std::size_t byteNumber)
{
    return byteNumber % kBytesPerLine == 0;
}

} // namespace

std::string hexDump(const SectorBuffer& sector)
{
    std::string text;
    text.reserve(sector.size() * 3 + sector.size() / kBytesPerLine);
    for (std::size_t i = 1; i <= sector.size(); ++i) {
        text += hex2(sector[i - 1]);
        if (i == sector.size())
            break;
        text += endsLine(i) ? kLineEnd : " ";
    }
    return text;
}

std::string charDump(const SectorBuffer& sector)
{
    std::string text;
    text.reserve(sector.size() * 2 + sector.size() / kBytesPerLine * 2);
    for (std::size_t i = 1; i <= sector.size(); ++i) {
        const std::uint8_t byte = sector[i - 1];
        appendCharacter(text, byte < 32 ? std::uint8_t{' '} : byte);
        if (endsLine(i))
            text += kLineEnd;
    }
    return text;
}

} // namespace volmara
