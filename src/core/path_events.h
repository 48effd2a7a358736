#pragma once

#include "platform/volumes.h"

#include <optional>
#include <string>
#include <vector>

namespace volmara {

struct WatchEntry;

// The change events of one ready entry, each a block of the entry's event text ending in
// CR LF "." CR LF; empty when the event did not happen.

// Free space the same as at the previous measurement (event 0) or not (event 1); both compare
// the grouped texts, as the bookkeeping writes them.
std::string stagnancyEvent(const WatchEntry& entry, const std::string& currentFreeText);
std::string changeEvent(const WatchEntry& entry, const std::string& currentFreeText);

// Changed numbers of files and sub-folders directly in the entry's folder (event 2). Skipped when
// the entry's counts are empty or "N/A"; `current` is what the folder holds now, nullopt when it
// could not be opened, which is an error of the check (Error Other).
std::string amountEvent(const WatchEntry& entry, const std::optional<FolderCounts>& current);

// The files a search found modified (event 3): "name (yyyy/mm/dd HH:mm:ss)", newest first, joined
// by "; "; past `kModifiedFilesShown` the rest is counted as "and N more". Empty for none.
inline constexpr std::size_t kModifiedFilesShown = 20;
std::string modifiedFilesText(std::vector<FileStamp> files);

// "file:12|fold:3|" read back; nullopt for any other form.
std::optional<FolderCounts> parseCounts(const std::string& counts);

} // namespace volmara
