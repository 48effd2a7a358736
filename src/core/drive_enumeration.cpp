#include "core/drive_enumeration.h"

#include "core/app_state.h"
#include "core/error.h"
#include "core/format.h"

#include <optional>

namespace volmara {

SpaceCells spaceCells(const AppState& app, const DriveSpace& drive)
{
    if (!drive.ready)
        return {std::string(kNotReadyEnumerated), {}};
    const auto& locale = app.sv.locale;
    return {kbCell(groupDigits(bytesToKb(drive.freeBytes), locale)), kbCell(groupDigits(bytesToKb(drive.totalBytes), locale))};
}

namespace {

void addSummaryLine(AppState& app, const DriveSpace& drive, const SpaceCells& cells)
{
    app.form1.lstInfo.push_back("Drive: " + drive.path + "\t\t" + cells.freeText);
}

} // namespace

void RefreshDrive(AppState& app)
{
    for (const auto& root : app.sv.volumes.logicalDrives()) {
        const auto drive = app.sv.volumes.drive(root);
        const auto cells = spaceCells(app, drive);
        addSummaryLine(app, drive, cells);
        WatchEntry entry;
        entry.path = app.sv.paths.withSeparator(drive.path);
        entry.freeText = cells.freeText;
        entry.totalText = cells.totalText;
        app.ListView1.append(std::move(entry));
    }
    app.ListView1.notify();
    app.form1.notify();
}

void RefreshDriveExisting(AppState& app)
{
    auto& paths = app.sv.paths;
    for (std::size_t i = 0; i < app.ListView1.size(); ++i) {
        auto& entry = app.ListView1.at(i);
        const auto tested = paths.isNetworkPath(entry.path) ? entry.path : paths.driveRoot(entry.path);
        // The bounded measurement answers "is it there" too: a plain look at a dead network
        // mount could hang the window.
        std::optional<DriveSpace> drive;
        if (!tested.empty()) {
            try {
                drive = app.sv.volumes.drive(tested);
            } catch (const Error& e) {
                if (e.kind() != ErrorKind::InvalidArgument)
                    throw;
            }
        }
        if (drive && drive->ready) {
            const auto cells = spaceCells(app, *drive);
            addSummaryLine(app, *drive, cells);
            entry.path = paths.withSeparator(drive->path);
            entry.freeText = cells.freeText;
            entry.totalText = cells.totalText;
        } else {
            app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium", "Folder/Path inaccessible: " + tested, 0, nullptr);
            entry.lastChecked.clear();
            entry.lastAlert = "Folder/Path inaccessible: ";
        }
    }
    app.ListView1.notify();
    app.form1.notify();
}

void prcSetPrevInfoLV(AppState& app, std::size_t index, const std::optional<DriveSpace>& measured)
{
    if (index >= app.ListView1.size())
        return;
    auto& entry = app.ListView1.at(index);
    if (entry.notAvailable())
        return;
    try {
        const auto drive = measured ? *measured : app.sv.volumes.drive(trim(entry.path));
        if (!entry.freeText.empty()) {
            entry.prevFree = entry.freeText;
            if (const auto at = entry.prevFree.find(" KB"); at != std::string::npos)
                entry.prevFree.erase(at, 3);
        }
        // A drive that stopped answering ends the update here, as a failed measurement does.
        if (!drive.ready)
            return;
        entry.freeText = kbCell(groupDigits(bytesToKb(drive.freeBytes), app.sv.locale));
        // Counted only once the drive answered: a dead share must not freeze the window here.
        const auto counts = app.sv.files.folderCounts(trim(entry.path));
        entry.measuredAt = defaultDateText(app.sv.clock.now());
        entry.counts = counts ? "file:" + std::to_string(counts->files) + "|fold:" + std::to_string(counts->folders) + "|"
                              : "N/A";
    } catch (const Error& e) {
        if (e.kind() == ErrorKind::InvalidArgument) {
            entry.counts.clear();
            entry.freeText = std::string(kNotReadyBookkeeping);
        }
    } catch (const std::exception&) {
        // Anything else leaves the entry as far as it was updated.
    }
}

} // namespace volmara
