#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class WatchList;

// `lstAct`, "Action on Space Shortage".
inline constexpr std::array<std::string_view, 11> kLstActCaptions{
    "Alert on Space Shortage",
    "Move Sp. Files to Sp. Path",
    "Delete Specified Files",
    "Send Specified Files to Recycle Bin",
    "Auto Move Files to Largest Avail. Path-Space",
    "Sound Audio Alert",
    "Empty Recycle Bin",
    "Run specified programs(s)",
    "Notify specified Email(s)",
    "Auto Run Clean Manager",
    "Pause Volmara on Alert!",
};

// `lstEvt`, "Alert on Selected Events".
inline constexpr std::array<std::string_view, 5> kLstEvtCaptions{
    "No Change in Free Space Size (Stagnancy)",
    "Change in Free Space Size ",
    "Change in Amount of File/Folder(s)",
    "Modification to file(s)",
    "Listed Drive/Path become N/A!",
};

enum ResponseIndex {
    kActAlert = 0,
    kActMove = 1,
    kActDelete = 2,
    kActRecycle = 3,
    kActAutoMove = 4,
    kActSound = 5,
    kActEmptyRecycle = 6,
    kActRunPrograms = 7,
    kActNotify = 8,
    kActCleanManager = 9,
    kActPause = 10,
};

enum EventIndex { kEvtStagnancy = 0, kEvtChange = 1, kEvtAmount = 2, kEvtModified = 3, kEvtUnavailable = 4 };

using LstAct = std::array<bool, 11>;
using LstEvt = std::array<bool, 5>;

// Ticks (or unticks) one response item and applies the list's own rules: items 1, 2 and 3
// exclude each other, item 4 needs two ready entries. Returns the information messages the
// rules raise, in order; the caller shows them.
std::vector<std::string> setResponseTicked(LstAct& list, int index, bool ticked, const WatchList& entries);

} // namespace volmara
