#include "core/response_lists.h"

#include "core/watch_list.h"

#include <algorithm>

namespace volmara {

namespace {

constexpr std::array<std::string_view, 3> kDeselectTexts{
    "The 'Move Specified files' option will be de-selected",
    "The 'Delete Specified files' option will be de-selected",
    "The 'Send Specified files to Recycle Bin' option will be de-selected",
};

std::size_t readyEntries(const WatchList& entries)
{
    return static_cast<std::size_t>(std::count_if(entries.rows().begin(), entries.rows().end(),
                                                  [](const WatchEntry& e) { return !e.notAvailable(); }));
}

} // namespace

std::vector<std::string> setResponseTicked(LstAct& list, int index, bool ticked, const WatchList& entries)
{
    std::vector<std::string> messages;
    if (index < 0 || index >= static_cast<int>(list.size()))
        return messages;
    list[static_cast<std::size_t>(index)] = ticked;
    if (!ticked)
        return messages;

    if (index >= kActMove && index <= kActRecycle) {
        for (int other = kActMove; other <= kActRecycle; ++other) {
            auto& item = list[static_cast<std::size_t>(other)];
            if (other != index && item) {
                messages.emplace_back(kDeselectTexts[static_cast<std::size_t>(other - kActMove)]);
                item = false;
            }
        }
    } else if (index == kActAutoMove && readyEntries(entries) < 2) {
        messages.emplace_back("You must have two or more listed drive/path(s) that are functionally ready to select this option.");
        list[kActAutoMove] = false;
    }
    return messages;
}

} // namespace volmara
