#pragma once

#include "core/locale.h"
#include "core/watch_list.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// Captions of the free-space bar chart.
inline constexpr std::string_view kFreeSpaceSeries = "Free Space";
inline constexpr std::string_view kTotalSpaceSeries = "Total Space";
inline constexpr std::string_view kValueAxisTitle = "Free Space MB";
inline constexpr std::string_view kCategoryAxisTitle = "Drive/Path";

// One row of the free-space bar chart. The values are in MB (KB / 1000), the unit the value
// axis names; an entry that could not be measured shows 0 and 0.
struct FreeSpaceBar {
    std::string label;
    double freeMb = 0;
    double totalMb = 0;

    bool operator==(const FreeSpaceBar&) const = default;
};

// One slice of the distribution pie: the entry's free KB, 0 for an entry that could not be
// measured.
struct PieSlice {
    std::string label;
    double freeKb = 0;

    bool operator==(const PieSlice&) const = default;
};

struct DistributionChart {
    std::vector<PieSlice> slices;
    // 64 bits: a 32-bit count of KB runs out at 2 TB of free space.
    std::int64_t totalFreeKb = 0;
    std::string title;
};

// The number in a free or total cell, every " KB" removed and the locale's grouping accepted;
// 0 when the cell holds no number (an entry added without figures).
double spaceCellNumber(std::string_view cell, const Locale& locale = {});

// One row per watch entry, ticked or not, in list order.
std::vector<FreeSpaceBar> prcFreeSpaceChart(const WatchList& list, const Locale& locale = {});

// One slice per watch entry and the title with the total of the measured entries.
DistributionChart prcDistributionChart(const WatchList& list, const Locale& locale = {});

// "Total Free Space Distribution (GB|MB|KB): n" with decimal divisors, rounded halves to even.
std::string distributionTitle(std::int64_t totalFreeKb);

} // namespace volmara
