#pragma once

#include "platform/raw_volume.h"
#include "platform/volume_info.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace volmara::testing {

// In-memory volumes by path, with a record of every open and read so that tests can see
// which handle read what, and whether a handle was still open when the next one opened.
class MemoryVolumes final : public RawVolumes {
public:
    struct Image {
        std::vector<std::uint8_t> bytes;
        std::optional<std::uint64_t> reportedSize; // a size that disagrees with the bytes
        std::optional<std::uint64_t> failReadsFrom; // reads at or past this offset fail
    };
    struct Read {
        int handle;
        std::uint64_t offset;
        std::size_t length;
    };

    std::map<std::string, Image> images;
    std::vector<Read> reads;
    int opened = 0;
    int live = 0;
    int liveAtLastOpen = 0;

    std::unique_ptr<RawVolume> open(std::string_view path) override
    {
        const auto found = images.find(std::string(path));
        if (found == images.end())
            return nullptr;
        liveAtLastOpen = live;
        return std::make_unique<Handle>(*this, found->second, ++opened);
    }

private:
    class Handle final : public RawVolume {
    public:
        Handle(MemoryVolumes& owner, const Image& image, int id) : owner_(owner), image_(image), id_(id)
        {
            ++owner_.live;
        }
        ~Handle() override { --owner_.live; }
        Handle(const Handle&) = delete;
        Handle& operator=(const Handle&) = delete;

        std::optional<std::size_t> readAt(std::uint64_t offset, std::span<std::uint8_t> out) override
        {
            owner_.reads.push_back({id_, offset, out.size()});
            if (image_.failReadsFrom && offset >= *image_.failReadsFrom)
                return std::nullopt;
            if (offset >= image_.bytes.size())
                return 0;
            const std::size_t count = std::min<std::uint64_t>(out.size(), image_.bytes.size() - offset);
            std::memcpy(out.data(), image_.bytes.data() + offset, count);
            return count;
        }

        std::uint64_t size() const override { return image_.reportedSize.value_or(image_.bytes.size()); }

    private:
        MemoryVolumes& owner_;
        const Image& image_;
        int id_;
    };
};

class FakeVolumeInfo final : public VolumeInfo {
public:
    std::map<std::string, std::string> names;
    std::map<std::string, DriveType> types;          // Unknown when not listed
    std::map<std::string, ClusterGeometry> geometry; // all zero when not listed

    std::string fileSystemName(std::string_view path) override { return valueAt(names, path); }
    DriveType driveType(std::string_view root) override { return valueAt(types, root); }
    ClusterGeometry clusterGeometry(std::string_view root) override { return valueAt(geometry, root); }

private:
    template <typename T>
    static T valueAt(const std::map<std::string, T>& values, std::string_view key)
    {
        const auto found = values.find(std::string(key));
        return found == values.end() ? T{} : found->second;
    }
};

} // namespace volmara::testing
