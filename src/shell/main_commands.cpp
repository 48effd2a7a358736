#include "shell/main_commands.h"

#include "alerts/file_actions.h"
#include "core/app_state.h"
#include "core/pause_control.h"

#include <algorithm>

namespace volmara {

ToolbarCommand toolbarCommand(std::string_view caption)
{
    if (caption == "Start" || caption == "Pause")
        return ToolbarCommand::Pause;
    if (caption == "Wizard Settings")
        return ToolbarCommand::Wizard;
    if (caption == "Adv. Info")
        return ToolbarCommand::AdvancedInfo;
    if (caption == "Help")
        return ToolbarCommand::Help;
    if (caption.find("View") != std::string_view::npos)
        return ToolbarCommand::View;
    if (caption.find("Functions") != std::string_view::npos)
        return ToolbarCommand::Functions;
    return ToolbarCommand::None;
}

void mnuHide_Click(AppState& app)
{
    auto& f = app.form1;
    f.mnuHideChecked = !f.mnuHideChecked;
    f.visible = !f.mnuHideChecked;
    f.notify();
}

void mnuStayOnTop_Click(AppState& app)
{
    auto& f = app.form1;
    f.mnuStayOnTopChecked = !f.mnuStayOnTopChecked;
    f.notify();
}

void mnuInfo_Click(AppState& app)
{
    const auto& rows = app.ListView1.rows();
    const auto selected = std::find_if(rows.begin(), rows.end(), [](const WatchEntry& e) { return e.selected; });
    if (selected != rows.end())
        app.tasks.spawn(ShowFileProperties(app, selected->path));
}

void mnuShowAlert_Click(AppState& app) { app.dlgAlert.showCompact(); }

std::optional<int> fadeOpacity(int level)
{
    if (level < 20 || level > 100)
        return std::nullopt;
    // In whole numbers, so that the halves (level 30 gives 76.5) round to even exactly.
    const int hundredths = level * 255;
    int opacity = hundredths / 100;
    const int rest = hundredths % 100;
    if (rest > 50 || (rest == 50 && opacity % 2 == 1))
        ++opacity;
    return opacity;
}

void SetWindowFade(AppState& app, int level)
{
    if (const auto opacity = fadeOpacity(level)) {
        app.form1.windowOpacity = *opacity;
        app.form1.notify();
    }
}

namespace {

Task<void> exitTask(AppState& app, std::function<void()> unload)
{
    timerHold(app);
    auto asking = app.sv.dialogs.ask(std::string(kExitQuestion), MsgIcon::Question, MsgButtons::OkCancel);
    const auto answer = co_await asking;
    if (answer != MsgAnswer::Ok) {
        timerHold(app);
        co_return;
    }
    if (unload)
        unload();
}

} // namespace

void mnuExit_Click(AppState& app, std::function<void()> unload) { app.tasks.spawn(exitTask(app, std::move(unload))); }

std::string helpPagePath(const AppState& app) { return app.mediaFile(kHelpPage); }

Task<void> openHelpTask(AppState& app)
{
    const auto path = helpPagePath(app);
    auto looking = lookAt(app, path, FolderDetail::Skip);
    const auto look = co_await looking;
    if (!look.answered || look.facts.kind != PathKind::File) {
        app.inform("The help page is missing: " + path, MsgIcon::Critical);
        co_return;
    }
    std::optional<std::string> refused;
    auto opening = app.sv.io.run("programs", [&shell = app.sv.shell, path] { shell.open(path); });
    try {
        co_await opening;
    } catch (const std::exception& e) {
        refused = e.what();
    }
    if (refused)
        app.inform("The help page could not be opened: " + *refused, MsgIcon::Critical);
}

void openHelp(AppState& app) { app.tasks.spawn(openHelpTask(app)); }

} // namespace volmara
