#pragma once

#include "core/task.h"

#include <cstdint>
#include <string>

namespace volmara {

class AppState;

// One entry found short of space in a check.
struct Shortage {
    std::uint64_t entryId = 0;
    std::string entryPath; // the entry's path text
    std::string drivePath; // the drive as the alert names it ("/", "/home", "C:")
    std::string alertText; // " - ALERT: Space Shortage < ..."
};

// The responses the user ticked in `lstAct`, in index order, each leaving its record; after
// each, the alert dialog is shown when the action text is new to it. Blocking work (moves,
// deletes, the trash, the mail) is awaited. Errors end the sequence and go to the check's handler.
Task<void> runAlertResponses(AppState& app, Shortage shortage);

} // namespace volmara
