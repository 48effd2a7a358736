#include "driveinfo/drive_attributes.h"

#include <gtest/gtest.h>

#include <vector>

namespace volmara {
namespace {

TEST(DriveAttributes, TypeTexts)
{
    struct Case {
        int code;
        std::optional<std::string_view> text;
    };
    const std::vector<Case> cases{
        {0, "Unknown"}, {1, "Not Found"}, {2, "Removable"}, {3, "Fixed"},  {4, "Remote"},
        {5, "CD-ROM"},  {6, "Ram Disk"},  {7, std::nullopt}, {-1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const auto type = static_cast<DriveType>(c.code);
        EXPECT_EQ(driveTypeText(type), c.text);
        const DriveAttributeTexts texts = driveAttributeTexts({type, {}});
        EXPECT_EQ(texts.driveType, c.text ? std::optional<std::string>(std::string(*c.text)) : std::nullopt);
    }
}

TEST(DriveAttributes, CountsAndWholeMegabytes)
{
    struct Case {
        const char* what;
        ClusterGeometry geometry;
        const char* freeMb;
        const char* totalMb;
    };
    const std::vector<Case> cases{
        {"no answer", {0, 0, 0, 0}, "0", "0"},
        {"one and a half MB rounds to two", {1, 512, 3072, 3072}, "2", "2"},
        {"two and a half MB rounds to two", {1, 512, 5120, 5120}, "2", "2"},
        {"just above a half rounds up", {1, 512, 1025, 3073}, "1", "2"},
        {"grouped by thousands", {2048, 512, 1234567, 1000}, "1,234,567", "1,000"},
        {"product beyond 64 bits", {128, 4096, 1ull << 50, 1ull << 51}, "562,949,953,421,312", "1,125,899,906,842,624"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DriveAttributeTexts texts = driveAttributeTexts({DriveType::Fixed, c.geometry});
        EXPECT_EQ(texts.sectorsPerCluster, std::to_string(c.geometry.sectorsPerCluster));
        EXPECT_EQ(texts.bytesPerSector, std::to_string(c.geometry.bytesPerSector));
        EXPECT_EQ(texts.freeClusters, std::to_string(c.geometry.freeClusters));
        EXPECT_EQ(texts.totalClusters, std::to_string(c.geometry.totalClusters));
        EXPECT_EQ(texts.totalFreeSpace, c.freeMb);
        EXPECT_EQ(texts.totalDriveSpace, c.totalMb);
    }
}

TEST(DriveAttributes, GroupingUsesTheLocaleSeparator)
{
    Locale locale;
    locale.groupSeparator = '.';
    const DriveAttributeTexts texts = driveAttributeTexts({DriveType::Fixed, {8, 512, 4000000, 250000000}}, locale);
    EXPECT_EQ(texts.totalFreeSpace, "15.625");
    EXPECT_EQ(texts.totalDriveSpace, "976.562");
    EXPECT_EQ(texts.freeClusters, "4000000");
}

} // namespace
} // namespace volmara
