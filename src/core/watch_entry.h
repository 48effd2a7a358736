#pragma once

#include "core/date_time.h"
#include "core/locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

enum class StatusIcon { None, Ok, Alert };

// Free space texts of an entry that could not be measured.
inline constexpr std::string_view kNotReadyEnumerated = "N/A, drive not ready";
inline constexpr std::string_view kNotReadyAdded = "N/A, drive not ready.";
inline constexpr std::string_view kNotReadyBookkeeping = "N/A check drive or media";

// One row of the watch list: its visible cells and the fields carried between checks.
struct WatchEntry {
    // Given by the list when the row is added; a check that yields writes only to the entry with
    // the id it started with, whatever the list did meanwhile.
    std::uint64_t id = 0;
    std::string path;        // "Drive Path"
    bool watched = false;    // the row's check box
    bool selected = false;
    std::string freeText;    // "Free Space": "123,456 KB" or a not-ready text
    std::string totalText;   // "Total Size"
    std::string triggerText; // "Trigger Space", used with per-entry triggers
    std::string lastChecked; // "Time Last Checked", "mm/dd HH:mm:ss"
    StatusIcon icon = StatusIcon::None;
    // The shell icon of the path in the list's image list `ImageListLV`, fetched when the cycle
    // passes over the unwatched entry; 0 for none.
    std::int16_t shellIcon = 0;

    std::string prevFree;   // free space number of the previous measurement, as shown
    std::string measuredAt; // default date text of the last bookkeeping
    std::string counts;     // "file:12|fold:3|", "N/A" or empty
    std::string lastAlert;  // first action text recorded for the entry (repeat suppression)
    // The path was a mount point when it was last measured in this run: when its file system goes,
    // the entry reads not ready instead of being taken for the drive below.
    bool namedMountPoint = false;
    // When this entry's files were last searched for modifications; until then the start-up mark.
    // Kept per entry, so that one entry's search does not hide another's changes.
    std::optional<DateTime> fileTimeMark;

    // "n/a" in any case marks an entry the bookkeeping and the move rules leave alone.
    bool notAvailable() const;
};

// Number in a free or total cell: " KB" removed, the locale's grouping or none accepted.
// nullopt when it holds none.
std::optional<double> cellNumber(std::string_view cell, const Locale& locale);

// "123,456 KB" with the given grouped or plain number text.
std::string kbCell(std::string_view number);

enum class TriggerUnit { Kb, Percent };

} // namespace volmara
