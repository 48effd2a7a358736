// What one check costs per watched folder, through the real layer and as the bare system calls.
// Read the layer's rows against the floor rows of the same N: their ratio is the layer's cost.
#include "core/form1_model.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/driveinfo/posix_raw_volumes.h"
#include "platform/posix/driveinfo/posix_volume_info.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/volumes_posix.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/statvfs.h>

namespace {

namespace fs = std::filesystem;

constexpr int filesPerFolder = 50;

// N real folders of 50 files each in a temporary folder, made once per N and removed at exit.
class WatchFolders {
public:
    explicit WatchFolders(int count)
    {
        std::string pattern = (fs::temp_directory_path() / "volmara-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        for (int i = 0; i < count; ++i) {
            const fs::path folder = root_ / ("entry" + std::to_string(i));
            fs::create_directory(folder);
            for (int f = 0; f < filesPerFolder; ++f)
                std::ofstream(folder / ("file" + std::to_string(f) + ".dat")) << f;
            paths_.push_back(folder.string());
        }
    }
    ~WatchFolders()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    WatchFolders(const WatchFolders&) = delete;
    WatchFolders& operator=(const WatchFolders&) = delete;

    const std::vector<std::string>& paths() const { return paths_; }

    static const WatchFolders& of(int count)
    {
        static std::map<int, std::unique_ptr<WatchFolders>> made;
        auto& folders = made[count];
        if (!folders)
            folders = std::make_unique<WatchFolders>(count);
        return *folders;
    }

private:
    fs::path root_;
    std::vector<std::string> paths_;
};

void reportEntries(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The floor: the least any implementation must do per entry.
void BM_Floor_StatvfsAndScan(benchmark::State& state)
{
    const auto& folders = WatchFolders::of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const std::string& path : folders.paths()) {
            struct statvfs vfs {};
            benchmark::DoNotOptimize(::statvfs(path.c_str(), &vfs));
            DIR* dir = ::opendir(path.c_str());
            std::uint64_t entries = 0;
            while (const dirent* entry = ::readdir(dir))
                entries += entry->d_type == DT_DIR ? 0 : 1;
            ::closedir(dir);
            benchmark::DoNotOptimize(entries);
        }
    }
    reportEntries(state);
}

// The layer's per-entry work in a check: measure the drive, count the folder.
void BM_Layer_DriveAndFolderCounts(benchmark::State& state)
{
    const auto& folders = WatchFolders::of(static_cast<int>(state.range(0)));
    volmara::PosixVolumes volumes;
    volmara::PosixFiles files;
    for (auto _ : state) {
        for (const std::string& path : folders.paths()) {
            benchmark::DoNotOptimize(volumes.drive(path));
            benchmark::DoNotOptimize(files.folderCounts(path));
        }
    }
    reportEntries(state);
}

// One full check of N watched folder entries through the real layer: the watch cycle with its
// yields, bookkeeping and status texts, on a manual loop so that only the check itself is timed.
void BM_FullCheck(benchmark::State& state)
{
    const auto& folders = WatchFolders::of(static_cast<int>(state.range(0)));
    volmara::test::ManualEventLoop loop;
    volmara::test::ManualClock clock;
    volmara::test::ScriptedDialogs dialogs(loop);
    volmara::PosixVolumes volumes;
    volmara::PosixFiles files;
    volmara::PosixRawVolumes rawVolumes;
    volmara::PosixVolumeInfo volumeInfo(volumes.boundedCaller());
    const volmara::PosixPathRules paths(volumes);
    volmara::Form1Model model(volmara::Services{loop, clock, dialogs, volumes, files, rawVolumes, volumeInfo, paths,
                                                volmara::Locale{},
                                                fs::temp_directory_path().string(), "/"});
    auto& app = model.app();
    app.settings.txtSpace = "0"; // no entry is short: the responses are not what is measured
    for (const auto& path : folders.paths()) {
        volmara::WatchEntry entry;
        entry.path = path;
        entry.watched = true;
        app.ListView1.append(std::move(entry));
    }
    for (auto _ : state) {
        app.tasks.spawn(model.cycle().tick());
        loop.runPending();
    }
    if (app.checksDone != static_cast<std::int32_t>(state.iterations()))
        state.SkipWithError("a check did not complete");
    reportEntries(state);
}

// What the mount table costs: a full re-read against the change check that usually replaces it.
void BM_MountTable_Read(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(volmara::fillableMounts(volmara::readMountTable()));
}

void BM_MountTable_UnchangedCheck(benchmark::State& state)
{
    volmara::MountTableCache cache;
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.table().size());
}

// Wall-clock time: the layer hands part of its work to its helper thread.
BENCHMARK(BM_Floor_StatvfsAndScan)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_Layer_DriveAndFolderCounts)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_FullCheck)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_MountTable_Read);
BENCHMARK(BM_MountTable_UnchangedCheck);

} // namespace

BENCHMARK_MAIN();
