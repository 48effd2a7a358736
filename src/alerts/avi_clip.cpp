#include "alerts/avi_clip.h"

#include <algorithm>
#include <cmath>

namespace volmara {

namespace {

// Refusal of the file, carried to the one place that turns it into a result.
struct Rejected {
    const char* why;
};

std::uint32_t u32(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

std::int32_t s32(std::string_view b, std::size_t at) { return static_cast<std::int32_t>(u32(b, at)); }

struct Chunk {
    std::string_view id;
    std::string_view data;
    // For "RIFF" and "LIST": the list's type, and `data` starts after it.
    std::string_view listType;
};

// The chunks of one list, in order. A chunk that claims more bytes than its list holds refuses
// the whole file; a last pad byte that is missing is forgiven, and so are a few stray bytes at
// the end of a list, too short to be a chunk.
class ChunkWalker {
public:
    explicit ChunkWalker(std::string_view list) : rest_(list) {}

    std::optional<Chunk> next()
    {
        if (rest_.size() < 8)
            return std::nullopt;
        Chunk chunk;
        chunk.id = rest_.substr(0, 4);
        const std::uint64_t size = u32(rest_, 4);
        if (size > rest_.size() - 8)
            throw Rejected{"a chunk runs past the end of its list"};
        chunk.data = rest_.substr(8, static_cast<std::size_t>(size));
        const std::uint64_t step = 8 + size + (size & 1);
        rest_ = rest_.substr(static_cast<std::size_t>(std::min<std::uint64_t>(step, rest_.size())));
        if (chunk.id == "LIST" || chunk.id == "RIFF") {
            if (chunk.data.size() < 4)
                throw Rejected{"a list too short for its type"};
            chunk.listType = chunk.data.substr(0, 4);
            chunk.data = chunk.data.substr(4);
        }
        return chunk;
    }

private:
    std::string_view rest_;
};

struct VideoFormat {
    int stream = -1;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows from the top
    int bitCount = 0;
    std::vector<std::uint32_t> palette;
    std::uint32_t scale = 0;
    std::uint32_t rate = 0;
};

struct Headers {
    std::uint32_t microSecPerFrame = 0;
    std::uint32_t totalFrames = 0;
    std::optional<VideoFormat> video;
};

VideoFormat readFormat(std::string_view strf, int stream, std::string_view strh, const AviLimits& limits)
{
    if (strf.size() < 40)
        throw Rejected{"the picture format is too short"};
    const std::uint32_t headerSize = u32(strf, 0);
    if (headerSize < 40 || headerSize > strf.size())
        throw Rejected{"the picture format gives a wrong size"};
    VideoFormat f;
    f.stream = stream;
    f.width = s32(strf, 4);
    f.height = s32(strf, 8);
    f.bitCount = u16(strf, 14);
    const std::uint32_t compression = u32(strf, 16);
    const std::uint32_t colorsUsed = u32(strf, 32);
    f.scale = u32(strh, 20);
    f.rate = u32(strh, 24);

    if (compression != 0)
        throw Rejected{"compressed frames are not supported"};
    if (f.bitCount != 8 && f.bitCount != 24 && f.bitCount != 32)
        throw Rejected{"only 8, 24 and 32 bits per pixel are supported"};
    const std::int64_t rows = f.height < 0 ? -f.height : f.height;
    if (f.width < 1 || f.width > limits.maxSide || rows < 1 || rows > limits.maxSide)
        throw Rejected{"the picture size is out of range"};
    if (f.bitCount == 8) {
        const std::uint64_t colors = colorsUsed == 0 ? 256 : colorsUsed;
        if (colors > 256)
            throw Rejected{"the palette has more than 256 colours"};
        if (headerSize + colors * 4 > strf.size())
            throw Rejected{"the palette runs past the end of the format"};
        for (std::uint64_t i = 0; i < colors; ++i) {
            const auto at = static_cast<std::size_t>(headerSize + i * 4);
            const auto blue = static_cast<unsigned char>(strf[at]);
            const auto green = static_cast<unsigned char>(strf[at + 1]);
            const auto red = static_cast<unsigned char>(strf[at + 2]);
            f.palette.push_back(0xFF000000u | static_cast<std::uint32_t>(red) << 16 |
                                static_cast<std::uint32_t>(green) << 8 | blue);
        }
    }
    return f;
}

Headers readHeaders(std::string_view hdrl, const AviLimits& limits)
{
    Headers h;
    bool mainHeader = false;
    int stream = 0;
    ChunkWalker walker(hdrl);
    while (const auto chunk = walker.next()) {
        if (chunk->id == "avih" && !mainHeader) {
            if (chunk->data.size() < 56)
                throw Rejected{"the main header is too short"};
            h.microSecPerFrame = u32(chunk->data, 0);
            h.totalFrames = u32(chunk->data, 16);
            mainHeader = true;
        } else if (chunk->id == "LIST" && chunk->listType == "strl") {
            std::optional<std::string_view> strh;
            std::optional<std::string_view> strf;
            ChunkWalker inner(chunk->data);
            while (const auto part = inner.next()) {
                if (part->id == "strh" && !strh)
                    strh = part->data;
                else if (part->id == "strf" && !strf)
                    strf = part->data;
            }
            if (!h.video && strh && strh->size() >= 28 && strh->substr(0, 4) == "vids") {
                if (!strf)
                    throw Rejected{"the video stream has no picture format"};
                h.video = readFormat(*strf, stream, *strh, limits);
            }
            ++stream;
        }
    }
    if (!mainHeader)
        throw Rejected{"the main header is missing"};
    if (h.totalFrames > limits.maxFrames)
        throw Rejected{"the clip claims too many frames"};
    if (!h.video)
        throw Rejected{"the clip has no video stream"};
    return h;
}

// Frame chunks of stream n are named "nndb" (or "nndc") with n in two decimal digits.
bool isFrameOf(std::string_view id, int stream)
{
    if (stream > 99)
        return false;
    const char tens = static_cast<char>('0' + stream / 10);
    const char ones = static_cast<char>('0' + stream % 10);
    return id[0] == tens && id[1] == ones && (id.substr(2) == "db" || id.substr(2) == "dc");
}

class FrameReader {
public:
    FrameReader(const VideoFormat& format, const AviLimits& limits, AviClip& clip)
        : f_(format), limits_(limits), clip_(clip)
    {
        rows_ = static_cast<std::size_t>(f_.height < 0 ? -f_.height : f_.height);
        width_ = static_cast<std::size_t>(f_.width);
        stride_ = (width_ * static_cast<std::size_t>(f_.bitCount) + 31) / 32 * 4;
    }

    void readList(std::string_view list, int depth)
    {
        ChunkWalker walker(list);
        while (const auto chunk = walker.next()) {
            if (chunk->id == "LIST") {
                // Frames may be grouped in "rec " lists; nothing deeper is expected.
                if (chunk->listType == "rec " && depth == 0)
                    readList(chunk->data, depth + 1);
            } else if (isFrameOf(chunk->id, f_.stream)) {
                addFrame(chunk->data);
            }
        }
    }

private:
    void addFrame(std::string_view data)
    {
        if (clip_.frames.size() >= limits_.maxFrames)
            throw Rejected{"the clip holds too many frames"};
        const std::uint64_t pixels = static_cast<std::uint64_t>(width_) * rows_;
        if ((clip_.frames.size() + 1) * pixels > limits_.maxPixels)
            throw Rejected{"the clip's frames are too large together"};
        // An empty chunk repeats the frame before it.
        if (data.empty()) {
            if (!clip_.frames.empty())
                clip_.frames.push_back(clip_.frames.back());
            return;
        }
        if (data.size() < stride_ * rows_)
            throw Rejected{"a frame is shorter than its picture"};
        std::vector<std::uint32_t> frame(width_ * rows_);
        for (std::size_t y = 0; y < rows_; ++y) {
            const std::size_t sourceRow = f_.height > 0 ? rows_ - 1 - y : y;
            const std::string_view row = data.substr(sourceRow * stride_, stride_);
            for (std::size_t x = 0; x < width_; ++x)
                frame[y * width_ + x] = pixel(row, x);
        }
        clip_.frames.push_back(std::move(frame));
    }

    std::uint32_t pixel(std::string_view row, std::size_t x) const
    {
        const auto byte = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(row[at])); };
        switch (f_.bitCount) {
        case 8: {
            const std::size_t index = byte(x);
            return index < f_.palette.size() ? f_.palette[index] : 0xFF000000u;
        }
        case 24:
            return 0xFF000000u | byte(x * 3 + 2) << 16 | byte(x * 3 + 1) << 8 | byte(x * 3);
        default:
            return 0xFF000000u | byte(x * 4 + 2) << 16 | byte(x * 4 + 1) << 8 | byte(x * 4);
        }
    }

    const VideoFormat& f_;
    const AviLimits& limits_;
    AviClip& clip_;
    std::size_t rows_ = 0;
    std::size_t width_ = 0;
    std::size_t stride_ = 0;
};

int frameTimeOf(const Headers& h)
{
    double ms = 100;
    if (h.microSecPerFrame > 0)
        ms = h.microSecPerFrame / 1000.0;
    else if (h.video->rate > 0 && h.video->scale > 0)
        ms = 1000.0 * h.video->scale / h.video->rate;
    return static_cast<int>(std::clamp(std::lround(ms), 10L, 5000L));
}

AviClip readClip(std::string_view bytes, const AviLimits& limits)
{
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF")
        throw Rejected{"not a RIFF file"};
    if (bytes.substr(8, 4) != "AVI ")
        throw Rejected{"not an AVI file"};
    const std::uint64_t riffSize = u32(bytes, 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8)
        throw Rejected{"the file is shorter than it claims"};

    std::optional<std::string_view> hdrl;
    std::optional<std::string_view> movi;
    ChunkWalker walker(bytes.substr(12, static_cast<std::size_t>(riffSize - 4)));
    while (const auto chunk = walker.next()) {
        if (chunk->id != "LIST")
            continue;
        if (chunk->listType == "hdrl" && !hdrl)
            hdrl = chunk->data;
        else if (chunk->listType == "movi" && !movi)
            movi = chunk->data;
    }
    if (!hdrl)
        throw Rejected{"the header list is missing"};
    const Headers headers = readHeaders(*hdrl, limits);
    if (!movi)
        throw Rejected{"the clip has no frames"};

    AviClip clip;
    clip.width = static_cast<int>(headers.video->width);
    clip.height = static_cast<int>(headers.video->height < 0 ? -headers.video->height : headers.video->height);
    clip.frameMs = frameTimeOf(headers);
    FrameReader(*headers.video, limits, clip).readList(*movi, 0);
    if (clip.frames.empty())
        throw Rejected{"the clip has no frames"};
    return clip;
}

} // namespace

AviReadResult readAviClip(std::string_view bytes, const AviLimits& limits)
{
    AviReadResult result;
    try {
        result.clip = readClip(bytes, limits);
    } catch (const Rejected& r) {
        result.rejection = r.why;
    }
    return result;
}

} // namespace volmara
