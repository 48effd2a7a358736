#include "alerts/specified_lists_file.h"

#include "alerts/file_actions.h"
#include "core/app_state.h"
#include "core/extra_file.h"
#include "core/path_rules.h"

#include <exception>

namespace volmara {

namespace {

std::string extraPath(const AppState& app) { return extraFileName(app.settingsPath); }

ExtraData storedData(AppState& app)
{
    const auto text = app.sv.files.readFile(extraPath(app));
    return text ? parseExtraText(*text) : ExtraData{};
}

} // namespace

Task<void> loadSpecifiedLists(AppState& app)
{
    const auto stored = storedData(app);
    std::vector<SpecifiedFileRow> files;
    for (const auto& path : stored.files) {
        const auto look = co_await lookAt(app, path);
        files.push_back(fileRow(app, path, look));
    }
    std::vector<SpecifiedProgramRow> programs;
    for (const auto& path : stored.programs)
        programs.push_back(programRow(app.sv.paths, path, fileNameOf(app.sv.paths, trim(path))));

    // Rows the user added while the stored ones were looked at come after them.
    auto added = app.LVFile.items();
    app.LVFile.clear();
    app.LVFile.restore(std::move(files));
    for (auto& item : added)
        app.LVFile.restore({std::move(item.row)});
    auto addedPrograms = app.LVProg.items();
    app.LVProg.clear();
    app.LVProg.restore(std::move(programs));
    for (auto& item : addedPrograms)
        app.LVProg.restore({std::move(item.row)});

    app.specifiedListsLoaded = true;
    if (!added.empty() || !addedPrograms.empty())
        saveSpecifiedLists(app);
    app.LVFile.notify();
    app.LVProg.notify();
}

void saveSpecifiedLists(AppState& app)
{
    // Before the stored lists are in, a write would drop them.
    if (!app.specifiedListsLoaded)
        return;
    try {
        auto data = storedData(app);
        data.files.clear();
        for (const auto& item : app.LVFile.items())
            data.files.push_back(item.row.tag);
        data.programs.clear();
        for (const auto& item : app.LVProg.items())
            data.programs.push_back(item.row.tag);
        app.sv.files.replaceFile(extraPath(app), extraText(data), Files::Privacy::OwnerOnly);
    } catch (const std::exception& e) {
        try {
            app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium",
                                 std::string("The specified files and programs could not be saved: ") + e.what(), 0,
                                 nullptr);
        } catch (const std::exception&) {
            // A disk too full for extra.dat is too full for the log as well.
        }
    }
}

} // namespace volmara
