#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara::test {

// Writes small AVI clips whose every field a test can bend.
namespace riff {

inline std::string u32(std::uint32_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 24 & 0xFF)};
}
inline std::string u16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

inline std::string chunk(std::string_view id, const std::string& data, std::optional<std::uint32_t> claimedSize = {})
{
    std::string out(id);
    out += u32(claimedSize.value_or(static_cast<std::uint32_t>(data.size())));
    out += data;
    if (data.size() % 2)
        out += '\0';
    return out;
}

inline std::string list(std::string_view type, const std::string& data) { return chunk("LIST", std::string(type) + data); }

} // namespace riff

struct ClipShape {
    std::int32_t width = 4;
    std::int32_t height = 3; // positive: rows stored from the bottom
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 4;   // 8-bit clips: palette entries claimed
    std::size_t paletteWritten = 4; // ... and written
    std::uint32_t microSecPerFrame = 50000;
    std::optional<std::uint32_t> totalFrames; // default: the frames written
    int frames = 2;
    std::vector<int> emptyFrames;              // frame numbers written as empty chunks
    std::optional<std::size_t> frameBytes;     // cut every frame to this many bytes
    bool inRecList = false;
    bool withMovi = true;
    bool audioStreamFirst = false; // the video is then stream 01
};

// The colour the builder gives pixel (x, y) of frame f, rows counted from the top.
inline std::uint32_t clipColour(int x, int y, int f) { return 0xFF000000u | (x * 40u) << 16 | (y * 60u) << 8 | (f * 100u); }
inline std::uint32_t paletteColour(std::size_t i) { return 0xFF000000u | (i * 50u) << 16 | (200u - i * 30u) << 8 | (i * 7u); }
inline std::size_t paletteIndex(int x, int y, int f) { return static_cast<std::size_t>(x + 2 * y + f) % 4; }

inline std::string frameData(const ClipShape& s, int f)
{
    const std::int64_t tall = s.height < 0 ? -static_cast<std::int64_t>(s.height) : s.height;
    // A clip whose size no reader takes gets a little data, not what its size would ask for.
    if (s.width < 1 || s.width > 4096 || tall > 4096)
        return std::string(64, '\x55');
    const int rows = static_cast<int>(tall);
    const std::size_t stride = (static_cast<std::size_t>(s.width) * s.bitCount + 31) / 32 * 4;
    std::string data;
    for (int stored = 0; stored < rows; ++stored) {
        const int y = s.height > 0 ? rows - 1 - stored : stored;
        std::string row;
        for (int x = 0; x < s.width; ++x) {
            if (s.bitCount == 8) {
                row += static_cast<char>(paletteIndex(x, y, f));
                continue;
            }
            const auto c = clipColour(x, y, f);
            row += static_cast<char>(c & 0xFF);
            row += static_cast<char>(c >> 8 & 0xFF);
            row += static_cast<char>(c >> 16 & 0xFF);
            if (s.bitCount == 32)
                row += '\0';
        }
        row.resize(stride, '\0');
        data += row;
    }
    if (s.frameBytes)
        data.resize(*s.frameBytes);
    return data;
}

inline std::string buildClip(const ClipShape& s)
{
    using namespace riff;
    const std::uint32_t total = s.totalFrames.value_or(static_cast<std::uint32_t>(s.frames));
    std::string avih = u32(s.microSecPerFrame) + u32(0) + u32(0) + u32(0x10) + u32(total) + u32(0) + u32(1) + u32(0) +
                       u32(static_cast<std::uint32_t>(s.width)) + u32(static_cast<std::uint32_t>(s.height)) +
                       std::string(16, '\0');
    std::string strh = "vids" + std::string("DIB ") + u32(0) + u16(0) + u16(0) + u32(0) + u32(1) + u32(20) + u32(0) +
                       u32(static_cast<std::uint32_t>(s.frames)) + std::string(20, '\0');
    std::string strf = u32(40) + u32(static_cast<std::uint32_t>(s.width)) + u32(static_cast<std::uint32_t>(s.height)) +
                       u16(1) + u16(s.bitCount) + u32(s.compression) + u32(0) + u32(0) + u32(0) + u32(s.colorsUsed) +
                       u32(0);
    if (s.bitCount == 8)
        for (std::size_t i = 0; i < s.paletteWritten; ++i) {
            const auto c = paletteColour(i);
            strf += static_cast<char>(c & 0xFF);
            strf += static_cast<char>(c >> 8 & 0xFF);
            strf += static_cast<char>(c >> 16 & 0xFF);
            strf += '\0';
        }
    std::string streams = list("strl", chunk("strh", strh) + chunk("strf", strf));
    if (s.audioStreamFirst)
        streams = list("strl", chunk("strh", "auds" + std::string(52, '\0')) + chunk("strf", std::string(18, '\0'))) + streams;
    const std::string hdrl = list("hdrl", chunk("avih", avih) + streams);

    const std::string id = s.audioStreamFirst ? "01db" : "00db";
    std::string frames;
    for (int f = 0; f < s.frames; ++f) {
        const bool empty = std::find(s.emptyFrames.begin(), s.emptyFrames.end(), f) != s.emptyFrames.end();
        frames += chunk(id, empty ? std::string() : frameData(s, f));
        if (s.audioStreamFirst)
            frames += chunk("00wb", std::string(10, '\x7F'));
    }
    if (s.inRecList)
        frames = list("rec ", frames);
    std::string body = "AVI " + hdrl;
    if (s.withMovi)
        body += list("movi", frames);
    return chunk("RIFF", body);
}

} // namespace volmara::test
