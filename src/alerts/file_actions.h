#pragma once

#include "alerts/specified_lists.h"
#include "core/task.h"
#include "platform/volumes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;
class PathRules;

// --- paths -----------------------------------------------------------------------------------

// The two ways a path text is read: drive letters with '\' (and '/'), or Linux paths with '/'.
enum class PathStyle { DriveLetters, Posix };
PathStyle pathStyle(const PathRules& rules);

// The last component of a path ("C:\dir\a.txt" -> "a.txt", "/a/b" -> "b").
std::string fileNameOf(const PathRules& rules, std::string_view path);
// The folder holding a path ("C:\dir\a.txt" -> "C:\dir", "/a.txt" -> "/").
std::string parentFolderOf(const PathRules& rules, std::string_view path);
// Where a file goes when it is moved into `destination`: the destination, a separator unless it
// ends in one, and the file's name.
std::string moveTarget(const PathRules& rules, std::string_view destination, std::string_view file);
// A listed file belongs to a watched entry: with drive letters, when the first three characters
// of both agree without regard to case; on Linux, when the entry is the mount point holding the
// file, or, for an entry that is a folder, when the file lies under it.
bool belongsToEntry(const PathRules& rules, std::string_view file, std::string_view entryPath);

// --- blocking work -----------------------------------------------------------------------------
//
// An awaitable whose arguments hold a lambda or a braced temporary is made in a statement of its
// own and awaited in the next: GCC 12 destroys such temporaries of a co_await expression twice.

// The key of the I/O workers for calls that touch `path`.
std::string ioKeyOf(AppState& app, const std::string& path);

// What the program learns of a path for a row of the specified files.
struct PathLook {
    bool answered = false; // the file system answered in time
    PathFacts facts;
    std::string typeName;
    std::uint64_t folderBytes = 0;
    std::optional<FolderCounts> counts; // direct content of a folder
};
enum class FolderDetail { Skip, Take };
// A bounded look at the path on the I/O workers; for a folder, with `detail`, its size and
// direct counts too (a walk without bound, on a key of its own).
Task<PathLook> lookAt(AppState& app, std::string path, FolderDetail detail = FolderDetail::Take);

// Long work on the I/O workers (a copy, emptying the trash): the window stays usable, and status
// panel 1 shows `caption` of the progress while it runs (nothing without a caption). A task destroyed while it waits (shut-down)
// asks the work to stop. Exceptions of the work come back here.
Task<void> runLongWork(AppState& app, std::string key, std::function<void(WorkProgress&)> work,
                       std::function<std::string(std::uint64_t done, std::uint64_t total)> caption);

// Moves one file, across file systems too, with its progress in status panel 1. Throws Error.
Task<void> moveFileAwaited(AppState& app, std::string from, std::string to);

// --- rows ------------------------------------------------------------------------------------

SpecifiedFileRow fileRow(const AppState& app, const std::string& tag, const PathLook& look);
SpecifiedProgramRow programRow(const PathRules& rules, const std::string& tag, std::string text);

// --- reports ---------------------------------------------------------------------------------

// The report of a manual action (Delete File, Move): recorded, put on top of the current-alerts
// text and the alert dialog, which is shown. Nothing when the dialog holds the message already;
// returns whether it was reported.
bool reportManualAction(AppState& app, const std::string& message);
// A record of a file action: time "yyyymmdd HH:mm", no entry.
void recordFileAction(AppState& app, const std::string& level, const std::string& text);

// --- file actions ----------------------------------------------------------------------------

// Recycles one path. Throws Error with the reason when the trash refuses it; asks nothing (the
// callers have asked).
inline constexpr std::int16_t FOF_ALLOWUNDO = 0x40;
Task<void> SendToRecycleBin(AppState& app, std::string path, std::int16_t flags);

// The automatic move to the largest available path (option 4): moves file `strFile` into
// `strDestin` when it fits. "1" when moved, "0" otherwise.
Task<std::string> prcFileActOption(AppState& app, std::int16_t intOption, std::string strFile, std::string strDestin);
// Option 4 over the specified files of the watched path `strPath` (entry `ItmX`), last row first.
// It stops after `intAmt` files; after the first moved file when "Sequential Action" is ticked;
// otherwise once the entry's free space, measured again after each move, is no longer below its
// trigger. Returns the number of rows acted on.
Task<std::int16_t> prcFileAct(AppState& app, std::int16_t intOption, std::uint64_t ItmX, std::int16_t intAmt,
                              std::string strPath, std::string strDestin, std::string strFile);

// The properties of a path: the desktop file manager's, else the program's own small window.
Task<void> ShowFileProperties(AppState& app, std::string path);

} // namespace volmara
