// The main window's model ties the other windows' seams to the operations that serve them.
#include "core/form1_model.h"

#include "alerts/cleanup_actions.h"
#include "alerts/file_actions.h"
#include "alerts/specified_files.h"
#include "shell/main_commands.h"

#include <array>
#include <optional>

namespace volmara {

namespace {

// The desktop archive managers, in the order they are looked for.
constexpr std::array<const char*, 4> kArchiveManagers{"file-roller", "ark", "engrampa", "xarchiver"};

Task<void> openArchiveManager(AppState& app)
{
    auto finding = app.sv.io.run("programs", [&shell = app.sv.shell]() -> std::optional<std::string> {
        for (const char* name : kArchiveManagers) {
            if (auto found = shell.findProgram(name))
                return found;
        }
        return std::nullopt;
    });
    const auto found = co_await finding;
    if (!found.answered() || !*found.value) {
        app.inform("No archive manager is installed (file-roller, ark, engrampa or xarchiver).");
        co_return;
    }
    std::optional<std::string> refused;
    auto starting = app.sv.io.run("programs", [&shell = app.sv.shell, path = **found.value] { shell.start(path, {}); });
    try {
        co_await starting;
    } catch (const std::exception& e) {
        refused = e.what();
    }
    if (refused)
        app.inform("The archive manager could not be started: " + *refused, MsgIcon::Critical);
}

std::vector<std::vector<std::string>> cellsOf(const auto& list, std::size_t columns)
{
    std::vector<std::vector<std::string>> rows;
    for (const auto& item : list.items()) {
        std::vector<std::string> cells;
        for (std::size_t c = 0; c < columns; ++c)
            cells.push_back(item.row.cell(static_cast<int>(c)));
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace

void Form1Model::bindWindows()
{
    // Every window's help opens the program's one help page.
    app_.dlgDriveInfo.openHelp = [this] { openHelp(app_); };
    app_.frmWizard.openHelp = [this] { openHelp(app_); };
    auto& dlg = app_.dlgAlert;
    dlg.addSpecifiedFiles = [this](const std::string& files) {
        app_.cboFileText = files;
        lblSF_Click(app_, kSfAdd);
    };
    dlg.startCompanion = [this] { app_.tasks.spawn(startOlvesta(app_)); };
    dlg.emptyTrash = [this] { mnuEmptyRecyc_Click(app_); };
    dlg.openArchiveManager = [this] { app_.tasks.spawn(openArchiveManager(app_)); };

    // Locking hides the notification window and the alert dialog with the main window.
    app_.frmLock.hideOnLock.push_back([this] {
        if (app_.frmNotify.visible())
            app_.frmNotify.cmdCancel_Click();
    });
    app_.frmLock.hideOnLock.push_back([this] { app_.dlgAlert.hide(); });

    // The report's list sections read the specified files and programs as their columns show them.
    app_.frmNotify.LVFileRows = [this] { return cellsOf(app_.LVFile, kLVFileHeaders.size()); };
    app_.frmNotify.LVProgRows = [this] { return cellsOf(app_.LVProg, kLVProgHeaders.size()); };
}

} // namespace volmara
