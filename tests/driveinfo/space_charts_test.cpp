#include "driveinfo/space_charts.h"

#include <gtest/gtest.h>

#include <vector>

namespace volmara {
namespace {

WatchList listOf(std::initializer_list<WatchEntry> entries)
{
    WatchList list;
    for (const WatchEntry& e : entries)
        list.append(e);
    return list;
}

WatchEntry entry(std::string path, std::string freeText, std::string totalText = {})
{
    WatchEntry e;
    e.path = std::move(path);
    e.freeText = std::move(freeText);
    e.totalText = std::move(totalText);
    return e;
}

TEST(DistributionTitle, ChoosesTheUnitByTheTotalAndRoundsHalvesToEven)
{
    struct Case {
        std::int64_t totalKb;
        const char* title;
    };
    const std::vector<Case> cases{
        {0, "Total Free Space Distribution (KB): 0"},
        {1000, "Total Free Space Distribution (KB): 1000"},
        {1001, "Total Free Space Distribution (MB): 1"},
        {1500, "Total Free Space Distribution (MB): 2"},
        {2500, "Total Free Space Distribution (MB): 2"},
        {2501, "Total Free Space Distribution (MB): 3"},
        {1000000, "Total Free Space Distribution (MB): 1000"},
        {1000001, "Total Free Space Distribution (GB): 1"},
        {2500000, "Total Free Space Distribution (GB): 2"},
        {3500000, "Total Free Space Distribution (GB): 4"},
        // Beyond a 32-bit count of KB (about 2 TB).
        {5'000'000'000, "Total Free Space Distribution (GB): 5000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.totalKb);
        EXPECT_EQ(distributionTitle(c.totalKb), c.title);
    }
}

TEST(SpaceCharts, EmptyListGivesNoRowsAndTheZeroKbTitle)
{
    const WatchList empty;
    EXPECT_TRUE(prcFreeSpaceChart(empty).empty());
    const DistributionChart pie = prcDistributionChart(empty);
    EXPECT_TRUE(pie.slices.empty());
    EXPECT_EQ(pie.title, "Total Free Space Distribution (KB): 0");
}

TEST(SpaceCharts, EntriesThatCouldNotBeMeasuredCountAsZeroAndStayOutOfTheTotal)
{
    const WatchList list = listOf({
        entry("/", "1,500 KB", "80,000 KB"),
        entry("/media/usb/", "N/A, drive not ready", "64,000 KB"),
        entry("/srv/", "n/a check drive or media", "12 KB"),
        entry("/added/", "", ""), // added without figures
        entry("/home/", "499 KB", "1,000 KB"),
    });

    const std::vector<FreeSpaceBar> bars = prcFreeSpaceChart(list);
    const std::vector<FreeSpaceBar> expectedBars{
        {"/", 1.5, 80.0}, {"/media/usb/", 0, 0}, {"/srv/", 0, 0}, {"/added/", 0, 0}, {"/home/", 0.499, 1.0},
    };
    EXPECT_EQ(bars, expectedBars);

    const DistributionChart pie = prcDistributionChart(list);
    const std::vector<PieSlice> expectedSlices{
        {"/", 1500}, {"/media/usb/", 0}, {"/srv/", 0}, {"/added/", 0}, {"/home/", 499},
    };
    EXPECT_EQ(pie.slices, expectedSlices);
    EXPECT_EQ(pie.totalFreeKb, 1999);
    EXPECT_EQ(pie.title, "Total Free Space Distribution (MB): 2");
}

TEST(SpaceCharts, TotalIsNotLimitedTo32Bits)
{
    const WatchList list = listOf({entry("/a/", "2,000,000,000 KB"), entry("/b/", "2,000,000,000 KB")});
    const DistributionChart pie = prcDistributionChart(list);
    EXPECT_EQ(pie.totalFreeKb, 4'000'000'000);
    EXPECT_EQ(pie.title, "Total Free Space Distribution (GB): 4000");
}

TEST(SpaceCharts, CellsAreReadWithTheLocaleTheyWereWrittenIn)
{
    Locale german;
    german.groupSeparator = '.';
    german.decimalSeparator = ',';
    const WatchList list = listOf({entry("/", "1.234.567 KB", "2.000.000 KB")});

    EXPECT_EQ(prcDistributionChart(list, german).totalFreeKb, 1234567);
    const std::vector<FreeSpaceBar> bars = prcFreeSpaceChart(list, german);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_DOUBLE_EQ(bars[0].freeMb, 1234.567);
    EXPECT_DOUBLE_EQ(bars[0].totalMb, 2000.0);
}

TEST(SpaceCharts, EveryKbUnitIsRemoved)
{
    EXPECT_EQ(spaceCellNumber("12 KB KB"), 12);
    EXPECT_EQ(spaceCellNumber("12"), 12);
    EXPECT_EQ(spaceCellNumber("KB"), 0);
}

} // namespace
} // namespace volmara
