#include "alerts/wave_header.h"

#include <algorithm>

namespace volmara {

namespace {

std::uint32_t u32(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

} // namespace

std::optional<std::chrono::milliseconds> waveDuration(std::string_view head, std::uint64_t fileSize)
{
    if (head.size() < 12 || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE")
        return std::nullopt;
    std::uint32_t byteRate = 0;
    std::uint64_t at = 12;
    while (at + 8 <= head.size()) {
        const auto id = head.substr(static_cast<std::size_t>(at), 4);
        const std::uint64_t size = u32(head, static_cast<std::size_t>(at + 4));
        const std::uint64_t body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size())
                return std::nullopt;
            byteRate = u32(head, static_cast<std::size_t>(body + 8));
        } else if (id == "data") {
            if (byteRate == 0 || body > fileSize)
                return std::nullopt;
            const std::uint64_t bytes = std::min(size, fileSize - body);
            return std::chrono::milliseconds(bytes * 1000 / byteRate);
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace volmara
