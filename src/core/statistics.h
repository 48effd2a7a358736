#pragma once

#include <cstdint>
#include <string>

namespace volmara {

struct Locale;

class AppState;
class WatchList;

// Free space change rate in KB per second over the watched entries, as plain digits; "N/A" for
// an empty list. The rate base is set from the interval the first time and kept.
std::string prcSpaceRateChange(AppState& app, std::int64_t lngSecPast);
// Whole seconds of an interval text, 0 for no number, pinned to the 32-bit range.
std::int32_t wholeSecondsOf(const std::string& text, const Locale& locale);
void prcUpdateStatistics(AppState& app);

} // namespace volmara
