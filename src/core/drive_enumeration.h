#pragma once

#include "platform/volumes.h"

#include <cstddef>
#include <optional>
#include <string>

namespace volmara {

class AppState;

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
// measured-at and counts. Never raises an error to its caller. A check passes the measurement
// it has just taken, so that the free cell and the alert text agree and the drive is asked once.
void prcSetPrevInfoLV(AppState& app, std::size_t index, const std::optional<DriveSpace>& measured = std::nullopt);

} // namespace volmara
