// What one check costs per watched folder, through the real layer and as the bare system calls.
// Read the layer's rows against the floor rows of the same N: their ratio is the layer's cost.
#include "core/form1_model.h"
#include "fakes/app_harness.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/driveinfo/posix_raw_volumes.h"
#include "platform/posix/driveinfo/posix_volume_info.h"
#include "mount_namespace.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/io_pool.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/volumes_posix.h"

#include "ui/platform/qt_event_loop.h"

#include <QCoreApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
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

// The layer's per-entry work in a check, on the calling thread: measure the drive, count the
// folder. The difference to the floor is the layer itself, without any hand-over.
void BM_Layer_MeasureAndCount(benchmark::State& state)
{
    const auto& folders = WatchFolders::of(static_cast<int>(state.range(0)));
    volmara::PosixVolumes volumes;
    volmara::PosixFiles files;
    for (auto _ : state) {
        for (const std::string& path : folders.paths()) {
            benchmark::DoNotOptimize(volumes.measure(volumes.locate(path), path));
            benchmark::DoNotOptimize(files.folderCounts(path));
        }
    }
    reportEntries(state);
}

// The program over the real layer, the real I/O workers and the real Qt event loop.
class Program {
public:
    explicit Program(const std::vector<std::string>& paths)
        : model_(volmara::Services{loop_, io_, clock_, dialogs_, volumes_, files_, rawVolumes_, volumeInfo_, shell_, trash_, network_, systemInfo_, sound_, http_, registry_, paths_,
                                   volmara::Locale{}, fs::temp_directory_path().string(), "/"})
    {
        auto& app = model_.app();
        app.Timer1.setEnabled(false); // the benchmark starts every check itself
        app.TimerCust.setEnabled(false);
        app.tmrStat.setEnabled(false);
        app.settings.txtSpace = "0"; // no entry is short: the responses are not what is measured
        for (const auto& path : paths) {
            volmara::WatchEntry entry;
            entry.path = path;
            entry.watched = true;
            app.ListView1.append(std::move(entry));
        }
    }

    // One whole check, the event loop turning until it is done.
    void check()
    {
        auto& app = model_.app();
        const auto before = app.checksDone;
        app.tasks.spawn(model_.cycle().tick());
        while (app.checksDone == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // The same, and the longest gap between two turns of the loop, seen by a zero-interval timer
    // that fires on every turn (and costs a turn's worth of work itself).
    std::chrono::nanoseconds checkWatchingTurns()
    {
        auto& app = model_.app();
        const auto before = app.checksDone;
        QTimer turn;
        auto last = std::chrono::steady_clock::now();
        std::chrono::nanoseconds longest{0};
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const auto now = std::chrono::steady_clock::now();
            longest = std::max(longest, std::chrono::nanoseconds(now - last));
            last = now;
        });
        turn.start(0);
        app.tasks.spawn(model_.cycle().tick());
        while (app.checksDone == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return longest;
    }
    const volmara::AppState& app() const { return model_.app(); }

private:
    volmara::QtEventLoop loop_;
    volmara::PosixIoPool io_{loop_};
    volmara::test::ManualClock clock_;
    volmara::test::ScriptedDialogs dialogs_{loop_};
    volmara::PosixVolumes volumes_;
    volmara::PosixFiles files_;
    volmara::PosixRawVolumes rawVolumes_;
    volmara::PosixVolumeInfo volumeInfo_;
    volmara::test::FakeShell shell_;
    volmara::test::FakeTrash trash_;
    volmara::test::FakeNetwork network_;
    volmara::test::FakeSystemInfo systemInfo_;
    volmara::test::FakeSound sound_;
    volmara::test::FakeHttp http_;
    volmara::test::FakeRegistry registry_;
    const volmara::PosixPathRules paths_{volumes_};
    volmara::Form1Model model_;
};

void reportLongestTurn(benchmark::State& state, std::chrono::nanoseconds longest)
{
    state.counters["longest_turn_ms"] = std::chrono::duration<double, std::milli>(longest).count();
}

// One full check of N watched folder entries: the watch cycle with its yields, bookkeeping and
// status texts, the drives measured on the I/O workers, answers through the real Qt loop.
void BM_FullCheck(benchmark::State& state)
{
    Program program(WatchFolders::of(static_cast<int>(state.range(0))).paths());
    for (auto _ : state)
        program.check();
    reportEntries(state);
}

// The longest single turn of the event loop during such a check.
void BM_LongestTurn_FullCheck(benchmark::State& state)
{
    Program program(WatchFolders::of(static_cast<int>(state.range(0))).paths());
    std::chrono::nanoseconds longest{0};
    for (auto _ : state)
        longest = std::max(longest, program.checkWatchingTurns());
    reportLongestTurn(state, longest);
    reportEntries(state);
}

// A FUSE mount whose daemon never answers, as a network share whose server is gone. Needs the
// real root (for /dev/fuse) and the private mount namespace main() enters; empty otherwise.
class DeadShare {
public:
    DeadShare()
    {
        if (!volmara::test::mountNamespaceProblem().empty() || !volmara::test::hasRealRoot())
            return;
        fd_ = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fd_ < 0)
            return;
        std::string pattern = (fs::temp_directory_path() / "volmara-dead-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return;
        const std::string options = "fd=" + std::to_string(fd_) + ",rootmode=40000,user_id=0,group_id=0";
        if (::mount("user@server:/share", pattern.c_str(), "fuse.sshfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
            path_ = pattern;
    }
    ~DeadShare()
    {
        if (fd_ >= 0)
            ::close(fd_); // every call waiting on the share fails now
        if (!path_.empty())
            ::umount2(path_.c_str(), MNT_DETACH);
    }
    DeadShare(const DeadShare&) = delete;
    DeadShare& operator=(const DeadShare&) = delete;

    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// The same check with one dead share among the entries: the check waits out the share's bound
// (suspended, not blocking), and the loop must keep turning all the while.
void BM_LongestTurn_FullCheckWithDeadShare(benchmark::State& state)
{
    DeadShare share;
    if (share.path().empty()) {
        state.SkipWithError("no dead share: needs root, /dev/fuse and a private mount namespace");
        return;
    }
    auto paths = WatchFolders::of(static_cast<int>(state.range(0))).paths();
    paths.insert(paths.begin() + static_cast<std::ptrdiff_t>(paths.size() / 2), share.path());
    std::chrono::nanoseconds longest{0};
    {
        Program program(paths);
        for (auto _ : state)
            longest = std::max(longest, program.checkWatchingTurns());
    }
    reportLongestTurn(state, longest);
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

// Wall-clock time: the check hands its measurements to the I/O workers.
BENCHMARK(BM_Floor_StatvfsAndScan)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_Layer_MeasureAndCount)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_FullCheck)->Arg(10)->Arg(100)->Arg(1000)->UseRealTime();
BENCHMARK(BM_LongestTurn_FullCheck)->Arg(1000)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LongestTurn_FullCheckWithDeadShare)->Arg(1000)->UseRealTime()->Iterations(2);
BENCHMARK(BM_MountTable_Read);
BENCHMARK(BM_MountTable_UnchangedCheck);

} // namespace

int main(int argc, char** argv)
{
    // Before any thread exists: unshare() refuses a multi-threaded process.
    volmara::test::enterPrivateMountNamespace();
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
