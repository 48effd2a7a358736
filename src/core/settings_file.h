#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// set.dat, both directions. `intMod` 1 saves, 2 loads; every call ends with the interval fix-up.
// A save replaces the file in one step; errors propagate to the caller.
void prcSettings(AppState& app, std::int16_t intMod);

// The bytes a save writes, CR LF line ends, in the fixed key order.
std::string settingsText(const AppState& app);

struct SettingsLoadResult {
    std::vector<std::string> problems; // items that could not be applied, for one log record
};
// Applies the items of a set.dat text to the controls, as a load does.
SettingsLoadResult applySettingsText(AppState& app, std::string_view text);

// One item per line: leading blanks skipped, a quoted item runs to its closing quote,
// an empty line yields an empty item.
std::vector<std::string> readSettingItems(std::string_view text);

// The interval picker set from whole seconds (the inverse of the cycle's sum).
void setIntervalPickerFromSeconds(AppState& app, std::string_view seconds);

} // namespace volmara
