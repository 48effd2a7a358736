#include "alerts/cleanup_actions.h"

#include "alerts/file_actions.h"
#include "alerts/specified_programs.h"
#include "core/app_state.h"
#include "core/error.h"
#include "core/pause_control.h"

#include <vector>

namespace volmara {

namespace {

std::string trashRootOf(AppState& app, const std::string& drive)
{
    if (drive.empty())
        return {};
    if (pathStyle(app.sv.paths) == PathStyle::DriveLetters)
        return drive.substr(0, 1) + ":\\";
    return app.sv.paths.driveRoot(drive);
}

Task<void> emptyFromMenu(AppState& app)
{
    const auto result = co_await MakeRecycleBinEmpty(app, "", 0, 0, 0);
    switch (result.outcome) {
    case EmptyOutcome::Emptied:
        app.log.prcAlertInfo(app.now("yyyymmdd HH:mm:ss"), "Medium", "User cleared recycle bin", 0, nullptr);
        break;
    case EmptyOutcome::Failed:
        app.inform("The recycle bin could not be emptied wholly: " + result.reason, MsgIcon::Exclamation);
        break;
    case EmptyOutcome::Cancelled:
        break;
    }
}

Task<void> cleanerFromMenu(AppState& app)
{
    const auto failure = co_await prcCleanMan(app, "", "");
    if (failure)
        app.inform(*failure, MsgIcon::Information);
}

Task<void> showRecycleBin(AppState& app)
{
    std::optional<std::string> failure;
    try {
        auto opening = app.sv.io.run(app.sv.paths.defaultRoot(),
                                     [&shell = app.sv.shell, where = app.sv.trash.location()] { shell.open(where); });
        auto reply = co_await opening;
        if (!reply.answered())
            failure = "Device unavailable";
    } catch (const Error& e) {
        failure = e.description();
    }
    if (failure)
        app.inform(*failure, MsgIcon::Information);
}

Task<void> exploreSelected(AppState& app)
{
    std::vector<std::string> paths;
    for (const auto& entry : app.ListView1.rows())
        if (entry.selected)
            paths.push_back(entry.path);
    for (const auto& path : paths) {
        try {
            auto exploring = app.sv.io.run(ioKeyOf(app, path), [&shell = app.sv.shell, path] { shell.explore(path); });
            co_await exploring;
        } catch (const Error&) {
            // The shell reports nothing of a folder it cannot show; nor does the program.
        }
    }
}

} // namespace

Task<EmptyResult> MakeRecycleBinEmpty(AppState& app, std::string drive, std::int16_t NoConfirmation,
                                      std::int16_t NoProgress, std::int16_t NoSound)
{
    const int flags = (NoConfirmation & 1) | (NoProgress & 2) | (NoSound & 4);
    EmptyResult result;
    if ((flags & 1) == 0) {
        timerHold(app);
        const auto answer = co_await app.sv.dialogs.ask(kRecycleConfirmation, MsgIcon::Question, MsgButtons::YesNo);
        timerHold(app);
        if (answer != MsgAnswer::Yes) {
            result.outcome = EmptyOutcome::Cancelled;
            co_return result;
        }
    }
    std::vector<std::string> folders;
    try {
        folders = app.sv.trash.trashFolders(trashRootOf(app, drive));
    } catch (const Error& e) {
        result = {EmptyOutcome::Failed, e.description()};
    }
    std::function<std::string(std::uint64_t, std::uint64_t)> caption;
    if ((flags & 2) == 0)
        caption = [](std::uint64_t done, std::uint64_t) { return "Emptying Recycle Bin: " + std::to_string(done) + " item(s)"; };
    for (const auto& folder : folders) {
        const auto key = ioKeyOf(app, folder);
        // A short look first: a file system that does not answer is not waited for.
        auto looking = app.sv.io.run(key, [&files = app.sv.files, folder] { return files.folderExists(folder); });
        auto there = co_await looking;
        if (!there.answered() || !*there.value)
            continue;
        std::optional<std::string> failure;
        try {
            auto emptying = runLongWork(
                app, key,
                [&trash = app.sv.trash, folder](WorkProgress& progress) { trash.emptyTrashFolder(folder, progress); },
                caption);
            co_await emptying;
        } catch (const Error& e) {
            failure = e.description();
        }
        if (failure)
            result = {EmptyOutcome::Failed, *failure};
    }
    ++app.filesChanged;
    co_return result;
}

std::string cleanManParameters(std::string strPath, std::string strOp)
{
    if (!strPath.empty())
        strPath = " /d " + strPath;
    if (!strOp.empty())
        strOp = " /sagerun: " + strOp;
    return strPath + " " + strOp;
}

Task<std::optional<std::string>> prcCleanMan(AppState& app, std::string strPath, std::string strOp)
{
    (void)strPath; // the tool cleans what its preset names, whatever the drive
    auto finding = app.sv.io.run(app.sv.paths.defaultRoot(),
                                 [&shell = app.sv.shell] { return shell.findProgram("bleachbit"); });
    auto found = co_await finding;
    if (!found.answered() || !*found.value)
        co_return std::optional<std::string>(kCleanToolMissing);
    std::vector<std::string> parameters;
    if (!strOp.empty())
        parameters = {"--preset", "--clean"};
    std::optional<std::string> failure;
    try {
        co_await startProgram(app, **found.value, parameters);
    } catch (const Error& e) {
        failure = e.description();
    }
    co_return failure;
}

Task<void> startOlvesta(AppState& app)
{
    const std::string path = app.sv.programFolder + "/olvesta";
    const auto look = co_await lookAt(app, path, FolderDetail::Skip);
    if (!look.answered || look.facts.kind != PathKind::File)
        co_return;
    try {
        co_await startProgram(app, path, std::vector<std::string>());
    } catch (const Error&) {
        // Its result is kept nowhere.
    }
}

void mnuEmptyRecyc_Click(AppState& app) { app.tasks.spawn(emptyFromMenu(app)); }

void mnuCleaner_Click(AppState& app) { app.tasks.spawn(cleanerFromMenu(app)); }

void RecycleBin(AppState& app) { app.tasks.spawn(showRecycleBin(app)); }

void mnuOlvesta_Click(AppState& app) { app.tasks.spawn(startOlvesta(app)); }

void mnuDefrag_Click(AppState& app) { app.inform(kDefragUnavailable); }

void mnuExplore_Click(AppState& app) { app.tasks.spawn(exploreSelected(app)); }

} // namespace volmara
