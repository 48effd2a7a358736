// A move that takes long runs on a real I/O worker while the event loop goes on: its progress
// shows in status panel 1 and other commands run meanwhile.
#include "alerts/specified_files.h"
#include "alerts/specified_programs.h"
#include "core/form1_model.h"
#include "core/path_rules.h"
#include "fakes/fake_files.h"
#include "fakes/fake_http.h"
#include "fakes/fake_network.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sound.h"
#include "fakes/fake_system_info.h"
#include "fakes/fake_trash.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/io_pool.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace volmara {
namespace {

using namespace std::chrono_literals;

// The fake files, but a move stops half-way until the test lets it go on, as a copy of a large
// file to a slow disk would.
class SlowMoveFiles final : public Files {
public:
    bool fileExists(std::string_view p) override { return locked([&] { return inner.fileExists(p); }); }
    bool folderExists(std::string_view p) override { return locked([&] { return inner.folderExists(p); }); }
    std::optional<FolderCounts> folderCounts(std::string_view p) override
    {
        return locked([&] { return inner.folderCounts(p); });
    }
    std::optional<std::vector<FileStamp>> filesModifiedSince(std::string_view p, DateTime since) override
    {
        return locked([&] { return inner.filesModifiedSince(p, since); });
    }
    std::optional<std::string> readFile(std::string_view p) override { return locked([&] { return inner.readFile(p); }); }
    void appendFile(std::string_view p, std::string_view b) override { locked([&] { inner.appendFile(p, b); }); }
    void replaceFile(std::string_view p, std::string_view b, Privacy v) override
    {
        locked([&] { inner.replaceFile(p, b, v); });
    }
    void removeFile(std::string_view p) override { locked([&] { inner.removeFile(p); }); }
    void renameFile(std::string_view f, std::string_view t) override { locked([&] { inner.renameFile(f, t); }); }
    void createFolder(std::string_view p, Privacy v) override { locked([&] { inner.createFolder(p, v); }); }
    PathFacts pathFacts(std::string_view p) override { return locked([&] { return inner.pathFacts(p); }); }
    std::string typeName(std::string_view p) override { return locked([&] { return inner.typeName(p); }); }
    std::uint64_t folderSize(std::string_view p) override { return locked([&] { return inner.folderSize(p); }); }
    void deleteFolder(std::string_view p) override { locked([&] { inner.deleteFolder(p); }); }
    void moveFile(std::string_view from, std::string_view to, WorkProgress& progress) override
    {
        progress.total = 400;
        progress.done = 200;
        {
            std::unique_lock lock(gateMutex_);
            opened_.wait_for(lock, 20s, [&] { return open_; });
        }
        locked([&] { inner.moveFile(from, to, progress); });
    }

    void open()
    {
        std::lock_guard lock(gateMutex_);
        open_ = true;
        opened_.notify_all();
    }

    test::FakeFiles inner;

private:
    template <typename F>
    auto locked(F f) -> decltype(f())
    {
        std::lock_guard lock(mutex_);
        return f();
    }
    std::mutex mutex_;
    std::mutex gateMutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

TEST(LongMove, TheWindowGoesOnWhileALargeFileMoves)
{
    test::ManualEventLoop loop;
    PosixIoPool io{loop};
    test::ManualClock clock;
    clock.follow(loop);
    test::ScriptedDialogs dialogs{loop};
    test::FakeVolumes volumes;
    volumes.add("/", 900000, 2000000);
    volumes.add("/data/", 30000, 1000000);
    SlowMoveFiles files;
    files.inner.folders = {"/", "/data/", "/archive"};
    files.inner.files["/data/big.iso"] = "";
    files.inner.files["/usr/bin/tool"] = "";
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    test::FakeShell shell;
    test::FakeTrash trash;
    test::FakeNetwork network;
    test::FakeSystemInfo systemInfo;
    test::FakeSound sound;
    test::FakeHttp http;
    test::FakeRegistry registry;
    const PosixPathRules paths(volumes);
    Form1Model model(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell, trash, network,
                              systemInfo, sound, http, registry, paths, Locale{}, "/opt/volmara", "/home/user"});
    auto& app = model.app();
    model.Form_Load();
    ASSERT_TRUE(loop.runUntil([&] { return model.startedUp(); }, 10s));

    app.cboFileText = "/data/big.iso";
    lblSF_Click(app, kSfAdd);
    ASSERT_TRUE(loop.runUntil([&] { return app.LVFile.size() == 1; }, 10s));
    app.settings.txtDrive = "/archive";
    app.LVFile.selectIndex(0);
    lblSF_Click(app, kSfMove);

    EXPECT_TRUE(loop.runUntil([&] { return app.form1.StatusBar1[0].text == "Moving File: big.iso 50%"; }, 10s))
        << "the progress shows while the copy is under way";
    app.cboProgText = "/usr/bin/tool";
    Label5_Click(app, kProgAdd);
    EXPECT_TRUE(loop.runUntil([&] { return app.LVProg.size() == 1; }, 10s)) << "another command runs meanwhile";
    EXPECT_EQ(app.LVFile.size(), 1u);

    files.open();
    EXPECT_TRUE(loop.runUntil([&] { return app.LVFile.empty(); }, 10s));
    EXPECT_TRUE(files.inner.fileExists("/archive/big.iso"));
}

} // namespace
} // namespace volmara
