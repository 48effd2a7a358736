#include "core/drive_probe.h"

#include "core/app_state.h"
#include "core/error.h"
#include "core/path_rules.h"

#include <algorithm>

namespace volmara {

namespace {

PathProbe notReady(const DriveLocation& where)
{
    PathProbe probe;
    probe.drive.root = where.root;
    probe.drive.path = where.path;
    return probe;
}

} // namespace

ProbeServices::ProbeServices(Services& sv) : ProbeServices(sv.io, sv.volumes, sv.files, sv.paths) {}

DriveLocation locatePath(ProbeServices sv, const std::string& path, bool namedMountPoint)
{
    DriveLocation where = sv.volumes.locate(path);
    const std::string own = sv.paths.withSeparator(trim(path));
    if (namedMountPoint && !where.gone && where.root != own) {
        // The entry named a mount point; what holds the path now is the drive below it.
        where.root = own;
        where.path = sv.paths.drivePath(own);
        where.remote = false;
        where.namesMountPoint = true;
        where.gone = true;
    }
    return where;
}

StartedProbe::StartedProbe(ProbeServices sv, DriveLocation where, std::string path, Counts counts)
    : where_(std::move(where))
{
    if (where_.gone)
        return;
    // The call owns copies: it may outlive this probe when the file system stops answering.
    call_.emplace(sv.io.start(where_.root, [&volumes = sv.volumes, &files = sv.files, where = where_,
                                            path = std::move(path), counts] {
        PathProbe probe{volumes.measure(where, path), true, std::nullopt};
        if (probe.drive.ready && counts == Counts::Take)
            probe.counts = files.folderCounts(path);
        return probe;
    }));
}

Task<PathProbe> StartedProbe::result()
{
    if (!call_)
        co_return notReady(where_);
    auto reply = co_await *call_;
    if (!reply.answered())
        co_return notReady(where_);
    co_return std::move(*reply.value);
}

Task<PathProbe> probePath(ProbeServices sv, std::string path, Counts counts, bool namedMountPoint)
{
    StartedProbe probe(sv, locatePath(sv, path, namedMountPoint), trim(path), counts);
    co_return co_await probe.result();
}

Task<DriveSpace> measureDrive(ProbeServices sv, std::string path)
{
    co_return (co_await probePath(sv, std::move(path), Counts::Skip)).drive;
}

} // namespace volmara

namespace volmara {

ProbeAhead::ProbeAhead(AppState& app, Wanted wanted, std::size_t depth)
    : app_(app), wanted_(std::move(wanted)), depth_(depth)
{
}

void ProbeAhead::prefetch(const std::vector<std::uint64_t>& ids, std::size_t from)
{
    const std::size_t end = std::min(ids.size(), from + depth_);
    for (std::size_t i = from; i < end; ++i) {
        const WatchEntry* found = app_.ListView1.find(ids[i]);
        if (!found || ahead_.count(found->id) || !wanted_(*found))
            continue;
        const WatchEntry& entry = *found;
        try {
            auto where = locatePath(app_.sv, entry.path, entry.namedMountPoint);
            ahead_.emplace(entry.id, Ahead{entry.path, app_.filesChanged,
                                           StartedProbe(app_.sv, std::move(where), trim(entry.path), Counts::Take)});
        } catch (const Error&) {
            // The entry's own turn looks it up again and reports the failure where it belongs.
        }
    }
}

Task<PathProbe> ProbeAhead::take(std::uint64_t id, std::string path, bool namedMountPoint)
{
    if (auto it = ahead_.find(id); it != ahead_.end()) {
        auto ahead = std::move(it->second);
        ahead_.erase(it);
        if (ahead.path == path && ahead.filesChanged == app_.filesChanged)
            co_return co_await ahead.probe.result();
    }
    co_return co_await probePath(app_.sv, path, Counts::Take, namedMountPoint);
}

} // namespace volmara
