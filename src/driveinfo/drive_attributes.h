#pragma once

#include "core/locale.h"
#include "platform/volume_info.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

// Captions of the attribute labels, in label order.
inline constexpr std::array<std::string_view, 7> kDriveAttributeCaptions{
    "Drive Type:",    "Sectors per Cluster:", "Bytes per Sector:",  "Free Clusters:",
    "Total Clusters:", "Total Free Space:",   "Total Drive Space:",
};

struct DriveAttributes {
    DriveType type = DriveType::Unknown;
    ClusterGeometry geometry;
};

// Value texts of the attribute labels.
struct DriveAttributeTexts {
    std::optional<std::string> driveType; // nullopt: a code without a text, the label keeps its text
    std::string sectorsPerCluster;
    std::string bytesPerSector;
    std::string freeClusters;
    std::string totalClusters;
    std::string totalFreeSpace;  // whole MB (1048576 bytes), grouped
    std::string totalDriveSpace; // whole MB (1048576 bytes), grouped

    bool operator==(const DriveAttributeTexts&) const = default;
};

std::optional<std::string_view> driveTypeText(DriveType type);

DriveAttributeTexts driveAttributeTexts(const DriveAttributes& attributes, const Locale& locale = {});

} // namespace volmara
