// Fuzzes the clip reader (and the WAV length, which reads the same kind of header): whatever the
// bytes, it refuses with a reason or gives frames that hold together.
#include "alerts/avi_clip.h"
#include "alerts/wave_header.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    volmara::AviLimits limits;
    limits.maxSide = 256;
    limits.maxFrames = 64;
    limits.maxPixels = 1u << 20;

    const auto result = volmara::readAviClip(bytes, limits);
    require(result.clip.has_value() == result.rejection.empty());
    if (const auto& clip = result.clip) {
        require(clip->width >= 1 && clip->width <= limits.maxSide);
        require(clip->height >= 1 && clip->height <= limits.maxSide);
        require(!clip->frames.empty() && clip->frames.size() <= limits.maxFrames);
        require(clip->frameMs >= 10 && clip->frameMs <= 5000);
        for (const auto& frame : clip->frames) {
            require(frame.size() == static_cast<std::size_t>(clip->width) * static_cast<std::size_t>(clip->height));
            for (const auto pixel : frame)
                require((pixel >> 24) == 0xFF);
        }
    }

    if (const auto length = volmara::waveDuration(bytes, size))
        require(length->count() >= 0);
    return 0;
}
