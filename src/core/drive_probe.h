#pragma once

#include "core/task.h"
#include "platform/io.h"
#include "platform/volumes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace volmara {

struct Services;
class PathRules;

// What a probe needs of the platform; the program's Services give it.
struct ProbeServices {
    IoWorkers& io;
    Volumes& volumes;
    Files& files;
    const PathRules& paths;
    ProbeServices(IoWorkers& i, Volumes& v, Files& f, const PathRules& p) : io(i), volumes(v), files(f), paths(p) {}
    ProbeServices(Services& sv); // NOLINT: every holder of the services can probe
};

// One look at a path, taken on the I/O workers: the space of its drive and, once the drive
// answered, the counts of the folder. A drive that did not answer in time reads not ready.
struct PathProbe {
    DriveSpace drive;
    bool answered = false; // the file system answered in time (a gone one never does)
    std::optional<FolderCounts> counts; // nullopt: not taken, or the folder could not be opened
};

enum class Counts { Skip, Take };

// Where a path lies. `namedMountPoint`: the path was a mount point when it was last measured;
// if another file system holds it now, its own is gone and the location says so. Throws
// Error(InvalidArgument) when the path names no drive.
DriveLocation locatePath(ProbeServices sv, const std::string& path, bool namedMountPoint = false);

// A probe started now and awaited later (the watch cycle measures a few entries ahead).
class StartedProbe {
public:
    StartedProbe(ProbeServices sv, DriveLocation where, std::string path, Counts counts);

    // The probe; not ready when the drive did not answer or is gone.
    Task<PathProbe> result();
    const DriveLocation& location() const { return where_; }

private:
    DriveLocation where_;
    std::optional<IoWorkers::Call<PathProbe>> call_;
};

// Measures the drive of `path` (and the folder's counts when asked) and waits for the answer.
Task<PathProbe> probePath(ProbeServices sv, std::string path, Counts counts, bool namedMountPoint = false);
Task<DriveSpace> measureDrive(ProbeServices sv, std::string path);

} // namespace volmara

namespace volmara {

class AppState;
struct WatchEntry;

// Probes a few entries ahead of the one being handled, so that the workers measure the next
// entries while the UI thread handles this one. A probe started ahead is used only when it is
// still for the same path and the program has changed no files since it started; else the entry
// is probed afresh.
class ProbeAhead {
public:
    using Wanted = std::function<bool(const WatchEntry&)>;

    ProbeAhead(AppState& app, Wanted wanted, std::size_t depth = 32);

    // Starts probes for the wanted entries among ids[from, from + depth) still in the list.
    void prefetch(const std::vector<std::uint64_t>& ids, std::size_t from);
    // The probe of the entry `id` with its path. Throws Error(InvalidArgument) when the path
    // names no drive.
    Task<PathProbe> take(std::uint64_t id, std::string path, bool namedMountPoint);

private:
    struct Ahead {
        std::string path;
        std::uint64_t filesChanged;
        StartedProbe probe;
    };

    AppState& app_;
    Wanted wanted_;
    std::size_t depth_;
    std::map<std::uint64_t, Ahead> ahead_;
};

} // namespace volmara
