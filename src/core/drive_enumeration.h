#pragma once

#include "core/drive_probe.h"
#include "core/task.h"
#include "platform/volumes.h"

#include <string>

namespace volmara {

class AppState;
struct WatchEntry;

// Free and total cells of a measurement: grouped whole KB, or the not-ready text and no total.
struct SpaceCells {
    std::string freeText;
    std::string totalText;
};
SpaceCells spaceCells(const AppState& app, const DriveSpace& drive);

// Lists every logical drive as a new, unticked entry (start-up only). The drives are measured
// side by side, so a dead one costs its bound once.
Task<void> RefreshDrive(AppState& app);
// Re-measures the listed entries; an entry whose drive has gone is reported and kept, one whose
// drive does not answer gets the not-ready texts, and one that named a mount point keeps its path.
Task<void> RefreshDriveExisting(AppState& app);

// The bookkeeping of one entry from a probe taken for it: free cell, previous free, measured-at
// and counts. Never raises an error.
void prcSetPrevInfoLV(AppState& app, WatchEntry& entry, const PathProbe& probe);
// The bookkeeping of an entry whose path is not valid for the drive lookup.
void prcSetPrevInfoLVLookupFailed(WatchEntry& entry);
// The bookkeeping of every entry in list order (start-up), measured a few ahead.
Task<void> prcSetPrevInfoAll(AppState& app);

} // namespace volmara
