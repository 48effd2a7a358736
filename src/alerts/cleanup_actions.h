#pragma once

#include "core/task.h"

#include <cstdint>
#include <optional>
#include <string>

namespace volmara {

class AppState;

enum class EmptyOutcome { Emptied, Cancelled, Failed };
struct EmptyResult {
    EmptyOutcome outcome = EmptyOutcome::Emptied;
    std::string reason; // of a failure
};

// Empties the recycle bin: of every drive when `drive` is empty, else of the drive holding it.
// The flags keep their bit values: (NoConfirmation AND 1) leaves out the confirmation,
// (NoProgress AND 2) the progress in status panel 1; (NoSound AND 4) has nothing to silence here.
// Errors of one trash folder do not stop the others; the result says how it went.
Task<EmptyResult> MakeRecycleBinEmpty(AppState& app, std::string drive, std::int16_t NoConfirmation,
                                      std::int16_t NoProgress, std::int16_t NoSound);

// The parameters the clean-up tool is given: " /d <drive>", a blank, " /sagerun: <number>".
std::string cleanManParameters(std::string strPath, std::string strOp);
// Starts the disk clean-up tool (BleachBit here: a settings number cleans with its preset, none
// opens its window). The reason when it cannot be started (not installed, refused).
Task<std::optional<std::string>> prcCleanMan(AppState& app, std::string strPath, std::string strOp);
// The drive-cleaning companion "olvesta" of the program folder, without parameters; skipped
// without a word when it is not there.
Task<void> startOlvesta(AppState& app);

// The menu commands of the clean-up actions.
void mnuEmptyRecyc_Click(AppState& app); // "Empty Recycle Bin"
void mnuCleaner_Click(AppState& app);    // "Clean Manager"
void RecycleBin(AppState& app);          // "Show Recycle Bin"
void mnuOlvesta_Click(AppState& app);    // "Olvesta Program"
void mnuDefrag_Click(AppState& app);     // "Defrag Utility"
void mnuExplore_Click(AppState& app);    // "Explore": every selected watch-list row, in order

inline constexpr const char* kRecycleConfirmation =
    "Are you sure you want to permanently delete all of the items in the Recycle Bin?";
inline constexpr const char* kCleanToolMissing =
    "The disk clean-up tool is not installed. Install BleachBit to clean up drives from Volmara.";
inline constexpr const char* kDefragUnavailable =
    "No defragmenter can be started from Volmara: e4defrag works on ext4 file systems only and must be run "
    "by the administrator from a terminal.";

} // namespace volmara
