#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// The frames of an animation clip, decoded: every frame holds width × height pixels as
// 0xAARRGGBB (always opaque), rows from the top.
struct AviClip {
    int width = 0;
    int height = 0;
    int frameMs = 100;
    std::vector<std::vector<std::uint32_t>> frames;
};

// What a clip may claim before it is taken for damaged: the clips the program plays are small,
// and a file that asks for more would only make the window allocate what it never shows.
struct AviLimits {
    int maxSide = 1024;
    std::size_t maxFrames = 2000;
    std::uint64_t maxPixels = 16u * 1024u * 1024u; // over all frames
};

struct AviReadResult {
    std::optional<AviClip> clip;
    std::string rejection; // why the file was refused; empty when `clip` is set
};

// Reads an uncompressed AVI (RIFF) clip: the first video stream, 8-bit (with its palette),
// 24-bit or 32-bit frames. Anything else, and any file whose sizes or counts do not hold
// together, is refused with a reason; the reader never reads past `bytes`.
AviReadResult readAviClip(std::string_view bytes, const AviLimits& limits = {});

} // namespace volmara
