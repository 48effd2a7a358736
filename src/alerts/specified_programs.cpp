#include "alerts/specified_programs.h"

#include "alerts/file_actions.h"
#include "core/app_state.h"
#include "core/error.h"
#include "core/path_rules.h"
#include "core/pause_control.h"

#include <algorithm>

namespace volmara {

namespace {

void changed(AppState& app) { app.LVProg.notify(); }

Task<bool> namesFile(AppState& app, const std::string& path)
{
    const auto look = co_await lookAt(app, path, FolderDetail::Skip);
    co_return look.answered && look.facts.kind == PathKind::File;
}

Task<void> addFromBox(AppState& app)
{
    // The box's text is checked trimmed and kept as it was typed.
    const std::string typed = app.cboProgText;
    const std::string path = trim(typed);
    bool exists = false;
    if (!path.empty())
        exists = co_await namesFile(app, path);
    if (!exists) {
        app.inform("File does not exists.", MsgIcon::Critical);
        co_return;
    }
    app.LVProg.append(programRow(app.sv.paths, typed, fileNameOf(app.sv.paths, path)));
    changed(app);
}

void removeSelected(AppState& app)
{
    if (app.LVProg.empty()) {
        app.inform("No listed item.");
        return;
    }
    if (const auto id = app.LVProg.selectedId())
        app.LVProg.remove(*id);
    changed(app);
}

Task<void> runSelected(AppState& app)
{
    const auto* selected = app.LVProg.selected();
    if (!selected || selected->tag.empty())
        co_return;
    const std::string path = selected->tag;
    if (!co_await namesFile(app, path))
        co_return;
    std::optional<Error> failure;
    try {
        co_await startProgram(app, path, listedProgramParameters());
    } catch (const Error& e) {
        failure = e;
    }
    // A refused start is said, not passed over as if the program ran.
    if (failure)
        app.inform("The program could not be started: " + failure->description(), MsgIcon::Exclamation);
}

Task<void> browse(AppState& app)
{
    const bool paused = app.form1.cmdPause == "Pause Watch";
    if (paused)
        cmdPause_Click(app);
    auto choosing = app.sv.dialogs.browseFiles(FilesRequest{"Choose File/Folder ", "*.*", app.sv.paths.defaultRoot()});
    const auto chosen = co_await choosing;
    if (chosen && !chosen->empty()) {
        std::string text = *chosen;
        std::replace(text.begin(), text.end(), '\0', ';');
        app.cboProgText = text;
        changed(app);
    }
    if (paused)
        cmdPause_Click(app);
}

Task<void> dropOnList(AppState& app, std::vector<std::string> paths)
{
    bool failed = false;
    try {
        if (paths.size() == 1) {
            app.cboProgText = paths.front();
        } else {
            for (const auto& path : paths) {
                if (co_await namesFile(app, path))
                    app.LVProg.append(programRow(app.sv.paths, path, path));
            }
        }
        changed(app);
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed)
        co_await app.sv.dialogs.ask("Please Drag and Drop Valid Files Only", MsgIcon::Exclamation);
}

} // namespace

std::vector<std::string> listedProgramParameters() { return {"0"}; }

Task<void> startProgram(AppState& app, std::string path, std::vector<std::string> parameters)
{
    auto starting = app.sv.io.run(ioKeyOf(app, path), [&shell = app.sv.shell, path, parameters] {
        shell.start(path, parameters);
    });
    auto reply = co_await starting;
    if (!reply.answered())
        throw Error(ErrorKind::Other, "Device unavailable");
}

Task<std::string> runAllPrograms(AppState& app)
{
    std::string report;
    for (const auto id : app.LVProg.ids()) {
        const auto* row = app.LVProg.find(id);
        if (!row)
            continue;
        const std::string path = row->tag;
        if (!co_await namesFile(app, path)) {
            report += " - Specified Program Execution Failed (File Does Not Exist): \r\n" + path + "\r\n";
            continue;
        }
        std::optional<Error> failure;
        try {
            co_await startProgram(app, path, listedProgramParameters());
        } catch (const Error& e) {
            failure = e;
        }
        if (failure)
            report += " - Specified Program Execution Failed (" + failure->description() + "): \r\n" + path + "\r\n";
        else
            report += " - Specified Program Executed: \r\n" + path + "\r\n";
    }
    co_return report;
}

void Label5_Click(AppState& app, int index)
{
    switch (index) {
    case kProgAdd: app.tasks.spawn(addFromBox(app)); break;
    case kProgRemove: removeSelected(app); break;
    case kProgClearAll:
        app.LVProg.clear();
        changed(app);
        break;
    case kProgRun: app.tasks.spawn(runSelected(app)); break;
    case kProgBrowse: app.tasks.spawn(browse(app)); break;
    default: break;
    }
}

void LVProg_ColumnClick(AppState& app, int column)
{
    if (column < 0 || column >= static_cast<int>(kLVProgHeaders.size()))
        return;
    app.LVProg.sortByColumn(column);
    changed(app);
}

void cboProg_Drop(AppState& app, std::vector<std::string> paths)
{
    try {
        if (paths.size() == 1)
            app.cboProgText = paths.front();
        else
            app.cboProg.insert(app.cboProg.end(), paths.begin(), paths.end());
    } catch (const std::exception&) {
        app.inform("Please Drag and Drop Valid Files Only", MsgIcon::Exclamation);
    }
    changed(app);
}

void LVProg_Drop(AppState& app, std::vector<std::string> paths) { app.tasks.spawn(dropOnList(app, std::move(paths))); }

} // namespace volmara
