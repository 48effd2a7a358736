#include "core/drive_enumeration.h"

#include "core/app_state.h"
#include "core/error.h"
#include "core/format.h"

#include <optional>
#include <vector>

namespace volmara {

SpaceCells spaceCells(const AppState& app, const DriveSpace& drive)
{
    if (!drive.ready)
        return {std::string(kNotReadyEnumerated), {}};
    const auto& locale = app.sv.locale;
    return {kbCell(groupDigits(bytesToKb(drive.freeBytes), locale)), kbCell(groupDigits(bytesToKb(drive.totalBytes), locale))};
}

namespace {

void addSummaryLine(AppState& app, const std::string& drivePath, const SpaceCells& cells)
{
    app.form1.lstInfo.push_back("Drive: " + drivePath + "\t\t" + cells.freeText);
}

void publish(AppState& app)
{
    app.ListView1.notify();
    app.form1.notify();
}

} // namespace

Task<void> RefreshDrive(AppState& app)
{
    std::vector<StartedProbe> probes;
    for (const auto& root : app.sv.volumes.logicalDrives())
        probes.emplace_back(app.sv, locatePath(app.sv, root), root, Counts::Skip);
    for (auto& probe : probes) {
        const auto drive = (co_await probe.result()).drive;
        const auto cells = spaceCells(app, drive);
        addSummaryLine(app, drive.path, cells);
        WatchEntry entry;
        entry.path = app.sv.paths.withSeparator(drive.path);
        entry.freeText = cells.freeText;
        entry.totalText = cells.totalText;
        entry.namedMountPoint = probe.location().namesMountPoint;
        app.ListView1.append(std::move(entry));
    }
    publish(app);
}

namespace {

struct RefreshTarget {
    std::uint64_t id;
    std::string tested; // what the refresh looks at: a network path itself, else its drive root
    std::optional<StartedProbe> probe; // none: the path names no drive
};

} // namespace

Task<void> RefreshDriveExisting(AppState& app)
{
    auto& paths = app.sv.paths;
    std::vector<RefreshTarget> targets;
    for (const auto& entry : app.ListView1.rows()) {
        RefreshTarget target{entry.id, {}, std::nullopt};
        try {
            auto where = locatePath(app.sv, entry.path, entry.namedMountPoint);
            target.tested = paths.isNetworkPath(entry.path) ? trim(entry.path) : where.root;
            target.probe.emplace(app.sv, std::move(where), target.tested, Counts::Skip);
        } catch (const Error& e) {
            if (e.kind() != ErrorKind::InvalidArgument)
                throw;
            target.tested = trim(entry.path);
        }
        targets.push_back(std::move(target));
    }

    for (auto& target : targets) {
        std::optional<PathProbe> probe;
        if (target.probe)
            probe = co_await target.probe->result();
        auto* entry = app.ListView1.find(target.id);
        if (!entry)
            continue; // removed while the drives were measured
        const bool answered = probe && probe->answered;
        if (probe && probe->drive.ready) {
            const auto cells = spaceCells(app, probe->drive);
            addSummaryLine(app, probe->drive.path, cells);
            entry->path = paths.withSeparator(probe->drive.path);
            entry->freeText = cells.freeText;
            entry->totalText = cells.totalText;
            entry->namedMountPoint = entry->namedMountPoint || target.probe->location().namesMountPoint;
        } else if (probe && !answered) {
            // The folder may well be there; its drive does not answer, or its file system is away.
            const auto cells = spaceCells(app, probe->drive);
            addSummaryLine(app, probe->drive.path, cells);
            entry->freeText = cells.freeText;
            entry->totalText = cells.totalText;
        } else {
            app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium", "Folder/Path inaccessible: " + target.tested, 0,
                                 nullptr);
            entry->lastChecked.clear();
            entry->lastAlert = "Folder/Path inaccessible: ";
        }
    }
    publish(app);
}

void prcSetPrevInfoLV(AppState& app, WatchEntry& entry, const PathProbe& probe)
{
    if (entry.notAvailable())
        return;
    if (!entry.freeText.empty()) {
        entry.prevFree = entry.freeText;
        if (const auto at = entry.prevFree.find(" KB"); at != std::string::npos)
            entry.prevFree.erase(at, 3);
    }
    // A drive that stopped answering ends the update here, as a failed measurement does.
    if (!probe.drive.ready)
        return;
    entry.freeText = kbCell(groupDigits(bytesToKb(probe.drive.freeBytes), app.sv.locale));
    entry.measuredAt = defaultDateText(app.sv.clock.now());
    entry.counts = probe.counts ? "file:" + std::to_string(probe.counts->files) + "|fold:" +
                                      std::to_string(probe.counts->folders) + "|"
                                : "N/A";
}

void prcSetPrevInfoLVLookupFailed(WatchEntry& entry)
{
    if (entry.notAvailable())
        return;
    entry.counts.clear();
    entry.freeText = std::string(kNotReadyBookkeeping);
}

Task<void> prcSetPrevInfoAll(AppState& app)
{
    const auto ids = app.ListView1.ids();
    ProbeAhead ahead(app, [](const WatchEntry& e) { return !e.notAvailable(); });
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const WatchEntry* entry = app.ListView1.find(ids[i]);
        if (!entry || entry->notAvailable())
            continue;
        ahead.prefetch(ids, i);
        std::optional<PathProbe> probe;
        bool lookupFailed = false;
        try {
            probe = co_await ahead.take(ids[i], entry->path, entry->namedMountPoint);
        } catch (const Error& e) {
            lookupFailed = e.kind() == ErrorKind::InvalidArgument;
        } catch (const std::exception&) {
            // The bookkeeping never raises: anything else leaves the entry as it was.
        }
        auto* current = app.ListView1.find(ids[i]);
        if (!current)
            continue;
        if (probe)
            prcSetPrevInfoLV(app, *current, *probe);
        else if (lookupFailed)
            prcSetPrevInfoLVLookupFailed(*current);
    }
    publish(app);
}

} // namespace volmara
