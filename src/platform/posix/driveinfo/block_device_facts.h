#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace volmara::posix {

// What sysfs says about a block device (a partition answers for its disk).
struct BlockDeviceFacts {
    bool removable = false;
    std::optional<std::uint32_t> logicalSectorSize;
};

std::optional<BlockDeviceFacts> blockDeviceFacts(const std::string& devicePath);

// The device's logical sector size: asked of the device when it can be opened, else of sysfs;
// nullopt when neither answers.
std::optional<std::uint32_t> logicalSectorSize(const std::string& devicePath);

} // namespace volmara::posix
