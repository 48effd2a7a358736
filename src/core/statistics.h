#pragma once

#include <cstdint>
#include <string>

namespace volmara {

class AppState;
class WatchList;

// Free space change rate in KB per second over the watched entries, as plain digits; "N/A" for
// an empty list. The rate base is set from the interval the first time and kept.
std::string prcSpaceRateChange(AppState& app, std::int64_t lngSecPast);
void prcUpdateStatistics(AppState& app);

} // namespace volmara
