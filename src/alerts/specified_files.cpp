#include "alerts/specified_files.h"

#include "alerts/file_actions.h"
#include "core/app_state.h"
#include "core/drive_probe.h"
#include "core/error.h"
#include "core/format.h"
#include "core/path_rules.h"
#include "core/pause_control.h"

#include <algorithm>
#include <optional>
#include <set>

namespace volmara {

namespace {

enum class AddMode {
    Command, // Add: duplicates skipped, doubled separators collapsed, critical question
    Drop,    // several files dropped on the list: each added as it is, question icon
};

// Keeps one command of the list running at a time, however it ends.
struct CommandGuard {
    SpecifiedFiles& list;
    explicit CommandGuard(SpecifiedFiles& l) : list(l) { list.commandRunning = true; }
    ~CommandGuard() { list.commandRunning = false; }
    CommandGuard(const CommandGuard&) = delete;
    CommandGuard& operator=(const CommandGuard&) = delete;
};

void changed(AppState& app) { app.LVFile.notify(); }

std::string collapsedSeparators(const PathRules& rules, std::string path)
{
    const std::string doubled = pathStyle(rules) == PathStyle::DriveLetters ? "\\\\" : "//";
    for (auto at = path.find(doubled); at != std::string::npos; at = path.find(doubled, at))
        path.erase(at, 1);
    return path;
}

bool isAccessError(const Error& error)
{
    // The Linux reasons a file cannot be changed: no right, a read-only or busy file system.
    return containsIgnoreCase(error.description(), "access error") || error.description() == "Permission denied";
}

std::string withSemicolons(std::string text)
{
    std::replace(text.begin(), text.end(), '\0', ';');
    return text;
}

Task<void> addOnePath(AppState& app, std::string path, AddMode mode)
{
    if (mode == AddMode::Command) {
        for (const auto& item : app.LVFile.items())
            if (item.row.tag == path)
                co_return;
        path = collapsedSeparators(app.sv.paths, std::move(path));
    }
    const auto look = co_await lookAt(app, path);
    if (look.answered && look.facts.kind != PathKind::Missing) {
        app.LVFile.append(fileRow(app, path, look));
        changed(app);
        co_return;
    }
    timerHold(app);
    const auto answer = co_await app.sv.dialogs.ask(
        "The file/folder you are attempting to add does not exists: " + path + "\r\nAdd anyway?",
        mode == AddMode::Command ? MsgIcon::Critical : MsgIcon::Question, MsgButtons::YesNo);
    timerHold(app);
    if (answer != MsgAnswer::Yes)
        co_return;
    app.LVFile.append(fileRow(app, path, PathLook{}));
    changed(app);
}

// The Linux segments of a list that may name folders, looked at on the I/O workers.
Task<std::set<std::string>> existingFolders(AppState& app, std::string_view text)
{
    std::set<std::string> folders;
    if (pathStyle(app.sv.paths) != PathStyle::Posix)
        co_return folders;
    std::vector<std::string> candidates;
    scanAddList(app.sv.paths, text, [&](const std::string& segment) {
        candidates.push_back(segment);
        return false;
    });
    for (const auto& candidate : candidates) {
        auto looking = app.sv.io.run(ioKeyOf(app, candidate),
                                     [&files = app.sv.files, candidate] { return files.folderExists(candidate); });
        auto reply = co_await looking;
        if (reply.answered() && *reply.value)
            folders.insert(candidate);
    }
    co_return folders;
}

Task<void> addFromBox(AppState& app)
{
    std::string text = app.cboFileText;
    if (text.empty())
        co_return;
    std::vector<std::string> paths;
    if (text.find(';') != std::string::npos) {
        text += ';';
        app.cboFileText = text;
        changed(app);
        const auto folders = co_await existingFolders(app, text);
        paths = scanAddList(app.sv.paths, text, [&](const std::string& s) { return folders.count(s) > 0; });
    } else {
        paths.push_back(text);
    }
    for (auto& path : paths)
        co_await addOnePath(app, std::move(path), AddMode::Command);
}

void removeSelected(AppState& app)
{
    if (app.LVFile.empty()) {
        app.inform("No item listed.");
        return;
    }
    if (const auto id = app.LVFile.selectedId())
        app.LVFile.remove(*id);
    changed(app);
}

// Removal of one file on the I/O workers: a large file takes its time on some file systems.
Task<void> deletePath(AppState& app, std::string path, PathKind kind)
{
    std::exception_ptr failure;
    try {
        auto removing = runLongWork(
            app, ioKeyOf(app, path),
            [&files = app.sv.files, path, kind](WorkProgress&) {
                if (kind == PathKind::Folder)
                    files.deleteFolder(path);
                else
                    files.removeFile(path);
            },
            {});
        co_await removing;
    } catch (...) {
        failure = std::current_exception();
    }
    ++app.filesChanged;
    if (failure)
        std::rethrow_exception(failure);
}

void runWatchTick(AppState& app)
{
    if (app.runWatchTick)
        app.runWatchTick();
}

Task<void> deleteSelected(AppState& app)
{
    if (app.LVFile.empty()) {
        app.inform("No item listed.");
        co_return;
    }
    const auto id = app.LVFile.selectedId();
    const auto* selected = app.LVFile.selected();
    if (!id || !selected || selected->tag.empty()) {
        app.inform("No file selected.");
        co_return;
    }
    const std::string path = selected->tag;
    bool reported = false;
    std::optional<Error> failure;
    try {
        const auto look = co_await lookAt(app, path);
        if (look.answered && look.facts.kind == PathKind::File) {
            co_await deletePath(app, path, PathKind::File);
            app.LVFile.remove(*id);
            reported = reportManualAction(app, "- Deleted File: " + path);
        } else if (look.answered && look.facts.kind == PathKind::Folder) {
            if (look.counts && look.counts->files >= 1 && look.folderBytes > 0) {
                co_await deletePath(app, path, PathKind::Folder);
                recordFileAction(app, "Medium",
                                 "- Deleted Folder: " + path + " | [" +
                                     formatNumber(static_cast<double>(look.folderBytes) / 1024, "##.##", app.sv.locale) +
                                     " KB]");
            } else {
                recordFileAction(app, "Medium", "- No Folder Found or No Content in Folder: " + path);
            }
            app.LVFile.remove(*id);
        }
    } catch (const Error& e) {
        failure = e;
    }
    if (failure) {
        if (!isAccessError(*failure))
            co_return; // any other failure ends the command without a word
        co_await app.sv.dialogs.ask(failure->description(), MsgIcon::Critical);
        app.LVFile.remove(*id);
        reported = reportManualAction(app, "- File access error (Listing Removed): " + path);
    }
    changed(app);
    if (reported)
        runWatchTick(app);
}

void forgetHistoryEntry(AppState& app, const std::string& path)
{
    const auto it = std::find(app.cboFile.begin(), app.cboFile.end(), path);
    if (it != app.cboFile.end())
        app.cboFile.erase(it);
}

Task<void> deleteAll(AppState& app)
{
    if (app.LVFile.empty()) {
        app.inform("No item listed.");
        co_return;
    }
    const auto choice = co_await app.sv.dialogs.askTitled(
        "RecycleBin", "Do you want to delete files or put in recycle bin? Yes = Recycle Bin, No = Permanent Deletion",
        MsgIcon::None, MsgButtons::YesNoCancel);
    if (choice == MsgAnswer::Cancel)
        co_return;
    const bool recycle = choice == MsgAnswer::Yes;
    auto ids = app.LVFile.ids();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        const auto* row = app.LVFile.find(*it);
        if (!row)
            continue;
        const std::string path = row->tag;
        const std::string text = row->text;
        const auto look = co_await lookAt(app, path, FolderDetail::Skip);
        if (!look.answered || look.facts.kind != PathKind::File) {
            co_await app.sv.dialogs.ask("file does not exits: " + path, MsgIcon::Critical);
            forgetHistoryEntry(app, path);
            app.LVFile.remove(*it);
            changed(app);
            continue;
        }
        std::optional<Error> failure;
        if (recycle) {
            try {
                co_await SendToRecycleBin(app, path, FOF_ALLOWUNDO);
            } catch (const Error& e) {
                failure = e;
            }
            if (failure) {
                // The item stays where it was: say so rather than claim it went to the bin.
                recordFileAction(app, "Medium",
                                 "- Failed Sending File to Recycle Bin: " + path + " | " + failure->description());
                continue;
            }
            recordFileAction(app, "Medium", "- Sended File to Recycle Bin: " + path);
            app.LVFile.remove(*it);
            changed(app);
            continue;
        }
        try {
            co_await deletePath(app, path, PathKind::File);
        } catch (const Error& e) {
            failure = e;
        }
        if (!failure) {
            recordFileAction(app, "Medium", "- Deleted File: " + path);
            app.LVFile.remove(*it);
            changed(app);
            continue;
        }
        if (failure->description() != "Permission denied")
            co_return;
        const std::string problem = "An error was raised when deleting was attempted: Permission denied";
        recordFileAction(app, "High", problem + "File: " + text);
        timerHold(app);
        const auto skip = co_await app.sv.dialogs.ask(
            problem + "\r\nFile: " + text + "\r\nDo you want to skip this file and continue?", MsgIcon::Question,
            MsgButtons::YesNo);
        timerHold(app);
        if (skip != MsgAnswer::Yes)
            co_return;
    }
}

// The destination of Move: `txtDrive`, or a folder the user chooses (asked again until it exists).
Task<std::optional<std::string>> moveDestination(AppState& app)
{
    timerHold(app);
    const auto answer = co_await app.sv.dialogs.ask("Move Selected File(s) to Specified Path: " + app.settings.txtDrive +
                                                        " ? click no to select another path",
                                                    MsgIcon::Question, MsgButtons::YesNo);
    timerHold(app);
    if (answer == MsgAnswer::Yes)
        co_return app.settings.txtDrive;
    for (;;) {
        const auto chosen = co_await app.sv.dialogs.browseFolder("Select Folder/Path");
        if (!chosen || chosen->empty())
            co_return std::nullopt;
        auto looking = app.sv.io.run(ioKeyOf(app, *chosen),
                                     [&files = app.sv.files, folder = *chosen] { return files.folderExists(folder); });
        auto exists = co_await looking;
        if (exists.answered() && *exists.value)
            co_return chosen;
    }
}

Task<void> moveSelected(AppState& app)
{
    if (app.LVFile.empty()) {
        co_await app.sv.dialogs.ask("No file listed.", MsgIcon::Information);
        co_return;
    }
    const auto destination = co_await moveDestination(app);
    if (!destination)
        co_return;
    const auto id = app.LVFile.selectedId();
    const auto* selected = app.LVFile.selected();
    if (!id || !selected || selected->tag.empty()) {
        co_await app.sv.dialogs.ask("no file listed.", MsgIcon::Critical);
        co_return;
    }
    const std::string path = selected->tag;
    const auto look = co_await lookAt(app, path, FolderDetail::Skip);
    if (!look.answered || look.facts.kind != PathKind::File)
        co_return;
    bool moved = true;
    try {
        co_await moveFileAwaited(app, path, moveTarget(app.sv.paths, *destination, path));
    } catch (const Error&) {
        moved = false;
    }
    if (!moved) {
        co_await app.sv.dialogs.ask(
            "File was moved unsuccessfully, check for sufficient resources (disk space) and try again.",
            MsgIcon::Exclamation);
    }
    reportManualAction(app, (moved ? "- Moved File: " : "- Failed Moved File: ") + path);
    app.LVFile.remove(*id);
    changed(app);
}

struct WaitCursor {
    AppState& app;
    explicit WaitCursor(AppState& a) : app(a)
    {
        app.LVFile.waitCursor = true;
        app.LVFile.notify();
    }
    ~WaitCursor()
    {
        app.LVFile.waitCursor = false;
        app.LVFile.notify();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

Task<void> moveAll(AppState& app)
{
    const WaitCursor cursor(app);
    if (app.LVFile.empty()) {
        co_await app.sv.dialogs.ask("No item listed.", MsgIcon::Information);
        co_return;
    }
    for (auto g = app.LVFile.size(); g >= 1; --g) {
        // Rows the user removed meanwhile are not there to select.
        g = std::min(g, app.LVFile.size());
        if (g == 0)
            break;
        app.LVFile.selectIndex(g - 1);
        changed(app);
        co_await moveSelected(app);
        if (app.LVFile.size() == g) {
            co_await app.sv.dialogs.ask("Unable to move all.  A file may be invalid.", MsgIcon::Information);
            co_return;
        }
    }
}

Task<void> browse(AppState& app)
{
    const bool paused = app.form1.cmdPause == "Pause Watch";
    if (paused)
        cmdPause_Click(app);
    auto choosing = app.sv.dialogs.browseFiles(FilesRequest{"Choose File/Folder ", "*.*", ""});
    const auto chosen = co_await choosing;
    app.cboFileText = withSemicolons(chosen.value_or(""));
    changed(app);
    if (paused)
        cmdPause_Click(app);
}

Task<void> showAttributes(AppState& app)
{
    const auto* selected = app.LVFile.selected();
    if (!selected || selected->tag.empty())
        co_return;
    co_await ShowFileProperties(app, selected->tag);
}

Task<void> oneAtATime(AppState& app, Task<void> command)
{
    const CommandGuard guard(app.LVFile);
    co_await command;
}

void run(AppState& app, Task<void> command)
{
    if (app.LVFile.commandRunning)
        return;
    app.tasks.spawn(oneAtATime(app, std::move(command)));
}

Task<void> chooseMoveFolder(AppState& app)
{
    app.Timer1.setEnabled(false);
    std::exception_ptr failure;
    try {
        const auto chosen = co_await app.sv.dialogs.browseFolder("Select Folder/Path");
        if (chosen && !chosen->empty()) {
            auto looking = app.sv.io.run(ioKeyOf(app, *chosen),
                                         [&files = app.sv.files, folder = *chosen] { return files.folderExists(folder); });
            auto exists = co_await looking;
            bool take = exists.answered() && *exists.value;
            if (!take) {
                timerHold(app);
                const auto anyway = co_await app.sv.dialogs.ask("The selected path is not accessible. Add anyway?",
                                                                MsgIcon::Question, MsgButtons::YesNo);
                timerHold(app);
                if (anyway == MsgAnswer::Yes) {
                    bool ready = false;
                    try {
                        ready = (co_await measureDrive(app.sv, *chosen)).ready;
                    } catch (const Error&) {
                        ready = false; // the path names no drive at all
                    }
                    if (ready) {
                        take = true;
                    } else {
                        const auto notReady = co_await app.sv.dialogs.ask(
                            "Drive is not ready, select this drive anyway?", MsgIcon::Question, MsgButtons::YesNo);
                        take = notReady == MsgAnswer::Yes;
                    }
                }
            }
            if (take) {
                app.settings.txtDrive = *chosen;
                app.form1.notify();
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    app.Timer1.setEnabled(true);
    if (failure)
        std::rethrow_exception(failure);
}

Task<void> dropOnList(AppState& app, std::vector<std::string> paths)
{
    bool failed = false;
    try {
        if (paths.size() == 1) {
            app.cboFileText = paths.front();
            changed(app);
        } else {
            for (auto& path : paths)
                co_await addOnePath(app, std::move(path), AddMode::Drop);
        }
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed)
        co_await app.sv.dialogs.ask("Please Drag and Drop Valid Files Only", MsgIcon::Exclamation);
}

} // namespace

std::vector<std::string> scanAddList(const PathRules& rules, std::string_view text,
                                     const std::function<bool(const std::string&)>& namesFolder)
{
    const bool posix = pathStyle(rules) == PathStyle::Posix;
    const std::string separator = posix ? "/" : "\\";
    std::vector<std::string> paths;
    std::string folder;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(';', start);
        if (end == std::string_view::npos)
            break;
        const std::string segment = trim(text.substr(start, end - start));
        if (!segment.empty()) {
            if (posix) {
                if (!segment.starts_with('/'))
                    paths.push_back(trim(folder) + separator + segment);
                else if (namesFolder(segment))
                    folder = segment;
                else
                    paths.push_back(segment);
            } else {
                if (segment.find(':') == std::string::npos)
                    paths.push_back(trim(folder) + separator + segment);
                else if (segment.find('.') == std::string::npos)
                    folder = segment;
                else
                    paths.push_back(segment);
            }
        }
        start = end + 1;
        if (end + 1 == text.size())
            break;
    }
    return paths;
}

void lblSF_Click(AppState& app, int index)
{
    switch (index) {
    case kSfAdd: run(app, addFromBox(app)); break;
    case kSfRemove:
        if (!app.LVFile.commandRunning)
            removeSelected(app);
        break;
    case kSfMove: run(app, moveSelected(app)); break;
    case kSfDeleteFile: run(app, deleteSelected(app)); break;
    case kSfClearAll:
        if (!app.LVFile.commandRunning) {
            app.LVFile.clear();
            changed(app);
        }
        break;
    case kSfDeleteAll: run(app, deleteAll(app)); break;
    case kSfMoveAll: run(app, moveAll(app)); break;
    case kSfBrowse: run(app, browse(app)); break;
    case kSfShowAttributes: run(app, showAttributes(app)); break;
    default: break;
    }
}

void lblFolder_Click(AppState& app) { app.tasks.spawn(chooseMoveFolder(app)); }

void LVFile_ColumnClick(AppState& app, int column)
{
    if (column < 0 || column >= static_cast<int>(kLVFileHeaders.size()))
        return;
    app.LVFile.sortByColumn(column);
    changed(app);
}

void cboFile_Drop(AppState& app, std::vector<std::string> paths)
{
    try {
        if (paths.size() == 1)
            app.cboFileText = paths.front();
        else
            app.cboFile.insert(app.cboFile.end(), paths.begin(), paths.end());
    } catch (const std::exception&) {
        app.inform("Please Drag and Drop Valid File(s) Only", MsgIcon::Exclamation);
    }
    changed(app);
}

void LVFile_Drop(AppState& app, std::vector<std::string> paths) { run(app, dropOnList(app, std::move(paths))); }

} // namespace volmara
