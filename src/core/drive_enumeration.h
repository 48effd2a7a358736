#pragma once

#include <cstddef>
#include <string>

namespace volmara {

class AppState;
struct DriveSpace;

// Free and total cells of a measurement: grouped whole KB, or the not-ready text and no total.
struct SpaceCells {
    std::string freeText;
    std::string totalText;
};
SpaceCells spaceCells(const AppState& app, const DriveSpace& drive);

// Lists every logical drive as a new, unticked entry (start-up only).
void RefreshDrive(AppState& app);
// Re-measures the listed entries; an entry whose drive has gone is reported and kept.
void RefreshDriveExisting(AppState& app);

// The bookkeeping of one entry after its check and at start-up: free cell, previous free,
// measured-at and counts. Never raises an error to its caller.
void prcSetPrevInfoLV(AppState& app, std::size_t index);

} // namespace volmara
