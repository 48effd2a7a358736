#include "driveinfo/space_charts.h"

#include "core/error.h"
#include "core/format.h"

#include <limits>

namespace volmara {
namespace {

constexpr std::int64_t kKbPerMb = 1000;
constexpr std::int64_t kKbPerGb = 1000000;

// numerator / divisor rounded halves to even, in integers so that no total loses digits.
std::int64_t roundedQuotient(std::int64_t numerator, std::int64_t divisor)
{
    std::int64_t quotient = numerator / divisor;
    const std::int64_t twiceRemainder = numerator % divisor * 2;
    if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

std::int64_t addKb(std::int64_t total, double freeKb)
{
    const std::int64_t whole = roundHalfEven(freeKb);
    if (whole > 0 && total > std::numeric_limits<std::int64_t>::max() - whole)
        throw Error(ErrorKind::Other, "Overflow");
    return total + whole;
}

} // namespace

double spaceCellNumber(std::string_view cell, const Locale& locale)
{
    constexpr std::string_view unit = " KB";
    std::string text(cell);
    for (auto at = text.find(unit); at != std::string::npos; at = text.find(unit, at))
        text.erase(at, unit.size());
    return parseNumber(text, locale).value_or(0.0);
}

std::vector<FreeSpaceBar> prcFreeSpaceChart(const WatchList& list, const Locale& locale)
{
    std::vector<FreeSpaceBar> rows;
    rows.reserve(list.size());
    for (const WatchEntry& entry : list.rows()) {
        FreeSpaceBar row{entry.path};
        if (!entry.notAvailable()) {
            row.freeMb = spaceCellNumber(entry.freeText, locale) / kKbPerMb;
            row.totalMb = spaceCellNumber(entry.totalText, locale) / kKbPerMb;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

DistributionChart prcDistributionChart(const WatchList& list, const Locale& locale)
{
    DistributionChart chart;
    chart.slices.reserve(list.size());
    for (const WatchEntry& entry : list.rows()) {
        PieSlice slice{entry.path};
        if (!entry.notAvailable()) {
            slice.freeKb = spaceCellNumber(entry.freeText, locale);
            chart.totalFreeKb = addKb(chart.totalFreeKb, slice.freeKb);
        }
        chart.slices.push_back(std::move(slice));
    }
    chart.title = distributionTitle(chart.totalFreeKb);
    return chart;
}

std::string distributionTitle(std::int64_t totalFreeKb)
{
    if (totalFreeKb > kKbPerGb)
        return "Total Free Space Distribution (GB): " + std::to_string(roundedQuotient(totalFreeKb, kKbPerGb));
    if (totalFreeKb > kKbPerMb)
        return "Total Free Space Distribution (MB): " + std::to_string(roundedQuotient(totalFreeKb, kKbPerMb));
    return "Total Free Space Distribution (KB): " + std::to_string(totalFreeKb);
}

} // namespace volmara
