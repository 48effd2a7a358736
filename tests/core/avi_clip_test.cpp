#include "alerts/avi_clip.h"
#include "core/avi_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace volmara::test {
namespace {

std::string readAsset(const std::string& name)
{
    std::ifstream in(std::string(VOLMARA_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void expectFramesOf(const AviClip& clip, const ClipShape& shape)
{
    ASSERT_EQ(clip.frames.size(), static_cast<std::size_t>(shape.frames));
    for (int f = 0; f < shape.frames; ++f)
        for (int y = 0; y < clip.height; ++y)
            for (int x = 0; x < clip.width; ++x) {
                const auto expected = shape.bitCount == 8 ? paletteColour(paletteIndex(x, y, f)) : clipColour(x, y, f);
                ASSERT_EQ(clip.frames[static_cast<std::size_t>(f)][static_cast<std::size_t>(y * clip.width + x)], expected)
                    << "frame " << f << " at " << x << "," << y;
            }
}

TEST(AviClipTest, DecodesEveryLayoutTheReaderTakes)
{
    struct Case {
        const char* name;
        ClipShape shape;
    };
    ClipShape bottomUp24;
    ClipShape topDown32;
    topDown32.bitCount = 32;
    topDown32.height = -3;
    ClipShape palette8;
    palette8.bitCount = 8;
    palette8.width = 5; // rows padded to four bytes
    ClipShape recordLists;
    recordLists.inRecList = true;
    ClipShape afterAudio;
    afterAudio.audioStreamFirst = true;
    for (const auto& c : {Case{"24-bit, bottom-up", bottomUp24}, Case{"32-bit, top-down", topDown32},
                          Case{"8-bit palette, padded rows", palette8}, Case{"frames in rec lists", recordLists},
                          Case{"video as the second stream", afterAudio}}) {
        SCOPED_TRACE(c.name);
        const auto result = readAviClip(buildClip(c.shape));
        ASSERT_TRUE(result.clip) << result.rejection;
        EXPECT_EQ(result.clip->width, c.shape.width);
        EXPECT_EQ(result.clip->height, 3);
        EXPECT_EQ(result.clip->frameMs, 50);
        expectFramesOf(*result.clip, c.shape);
    }
}

TEST(AviClipTest, EmptyChunkRepeatsTheFrameBeforeAndRateComesFromTheStream)
{
    ClipShape shape;
    shape.frames = 3;
    shape.emptyFrames = {1};
    shape.microSecPerFrame = 0; // the stream's 1/20 s then
    const auto result = readAviClip(buildClip(shape));
    ASSERT_TRUE(result.clip) << result.rejection;
    ASSERT_EQ(result.clip->frames.size(), 3u);
    EXPECT_EQ(result.clip->frames[1], result.clip->frames[0]);
    EXPECT_NE(result.clip->frames[2], result.clip->frames[0]);
    EXPECT_EQ(result.clip->frameMs, 50);
}

TEST(AviClipTest, ShippedClipsAreReadable)
{
    struct Shipped {
        const char* name;
        std::size_t frames;
        int frameMs;
    };
    for (const auto& s : {Shipped{"spin.avi", 12, 83}, Shipped{"alert.avi", 8, 100}}) {
        SCOPED_TRACE(s.name);
        const auto result = readAviClip(readAsset(s.name));
        ASSERT_TRUE(result.clip) << result.rejection;
        EXPECT_EQ(result.clip->width, 48);
        EXPECT_EQ(result.clip->height, 48);
        EXPECT_EQ(result.clip->frames.size(), s.frames);
        EXPECT_EQ(result.clip->frameMs, s.frameMs);
        EXPECT_NE(result.clip->frames.front(), result.clip->frames.back()) << "the clip moves";
    }
}

TEST(AviClipTest, RefusesBrokenClips)
{
    const std::string good = buildClip({});
    const auto withSpec = [](auto change) {
        ClipShape shape;
        change(shape);
        return buildClip(shape);
    };
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        bytes.replace(at, 4, riff::u32(value));
        return bytes;
    };
    const auto movi = good.find("movi");
    const auto firstFrame = good.find("00db");

    struct Case {
        const char* name;
        std::string bytes;
        AviLimits limits = {};
    };
    AviLimits threeFrames;
    threeFrames.maxFrames = 3;
    AviLimits fewPixels;
    fewPixels.maxPixels = 4 * 3 * 2 - 1;
    const std::vector<Case> cases{
        {"empty", ""},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"RIFF of another form", good.substr(0, 8) + "WAVE" + good.substr(12)},
        {"shorter than it claims", good.substr(0, good.size() - 20)},
        {"RIFF size past the end", patched(4, 0xFFFFFFF0u)},
        {"frame chunk size past the end", patched(firstFrame + 4, 0x7FFFFFFFu)},
        {"movi list size past the end", patched(movi - 4, 0xFFFFFFFFu)},
        {"absurd frame count", withSpec([](ClipShape& s) { s.totalFrames = 0xFFFFFFFFu; })},
        {"absurd width", withSpec([](ClipShape& s) { s.width = 100000; })},
        {"no width", withSpec([](ClipShape& s) { s.width = 0; })},
        {"negative width", withSpec([](ClipShape& s) { s.width = -4; })},
        {"lowest height", withSpec([](ClipShape& s) { s.height = INT32_MIN; })},
        {"absurd height", withSpec([](ClipShape& s) { s.height = 70000; })},
        {"compressed", withSpec([](ClipShape& s) { s.compression = 0x47504A4D; })},
        {"16-bit", withSpec([](ClipShape& s) { s.bitCount = 16; })},
        {"palette over 256", withSpec([](ClipShape& s) {
             s.bitCount = 8;
             s.colorsUsed = 300;
         })},
        {"palette past its chunk", withSpec([](ClipShape& s) {
             s.bitCount = 8;
             s.colorsUsed = 0; // 256 claimed, 4 written
         })},
        {"frames cut short", withSpec([](ClipShape& s) { s.frameBytes = 20; })},
        {"no frames list", withSpec([](ClipShape& s) { s.withMovi = false; })},
        {"no frames", withSpec([](ClipShape& s) { s.frames = 0; })},
        {"more frames than allowed", withSpec([](ClipShape& s) { s.frames = 4; }), threeFrames},
        {"frames too large together", good, fewPixels},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = readAviClip(c.bytes, c.limits);
        EXPECT_FALSE(result.clip);
        EXPECT_FALSE(result.rejection.empty());
    }
}

} // namespace
} // namespace volmara::test
