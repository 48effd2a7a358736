#include "core/form1_model.h"
#include "core/path_rules.h"
#include "fakes/fake_http.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sound.h"
#include "fakes/fake_system_info.h"
#include "fakes/fake_trash.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "fakes/scripted_dialogs.h"
#include "platform/posix/files_posix.h"
#include "platform/posix/network_posix.h"
#include "smtp_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <sys/stat.h>

namespace volmara::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The program with its real files in a temporary program folder and its real network; the rest
// on fakes.
struct Program {
    explicit Program(std::string folder)
    {
        clock.follow(loop);
        volumes.add("/", 900000, 2000000);
        model = std::make_unique<Form1Model>(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                                                      trash, network, systemInfo, sound, http, registry, paths, Locale{},
                                                      std::move(folder), "/home/user"});
        model->Form_Load();
        loop.runPending();
    }

    ManualEventLoop loop;
    ManualIo io{loop};
    ManualClock clock;
    ScriptedDialogs dialogs{loop};
    FakeVolumes volumes;
    PosixFiles files;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    FakeShell shell;
    FakeTrash trash;
    PosixNetwork network;
    FakeSystemInfo systemInfo;
    FakeSound sound;
    FakeHttp http;
    FakeRegistry registry;
    PosixPathRules paths{volumes};
    std::unique_ptr<Form1Model> model;

    NotifyModel& notify() { return model->app().frmNotify; }
};

struct TemporaryFolder {
    TemporaryFolder()
    {
        char name[] = "/tmp/volmara-outbox-XXXXXX";
        if (::mkdtemp(name))
            path = name;
    }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string path;
};

std::vector<fs::path> waitingFiles(const std::string& folder)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder + "/outbox"))
        if (entry.path().extension() == ".msg")
            found.push_back(entry.path());
    return found;
}

TEST(MailOutboxWithARealServer, AMessageKeptWhileTheServerIsDownGoesOutWhenItIsBack)
{
    if (const auto why = SmtpServer::unavailable())
        GTEST_SKIP() << *why;
    TemporaryFolder folder;
    ASSERT_FALSE(folder.path.empty());
    const int port = closedPort();

    Program p(folder.path);
    auto& n = p.notify();
    n.setText(NotifyText::txtMailServer, "127.0.0.1");
    n.setText(NotifyText::txtMailPort, std::to_string(port));
    n.setText(NotifyText::txtYourEmail, "volmara@example.com");
    p.model->app().settings.cboNotEmail = {"ann@example.com"};

    n.startDispatch();
    ASSERT_TRUE(p.loop.runUntil([&] { return !n.sending(); }, 30s));
    EXPECT_EQ(n.StatusTxt(), "Ready - Emails sent: 0 (1 waiting in the outbox) - not sent to ann@example.com: "
                             "could not connect to 127.0.0.1:" + std::to_string(port));
    const auto files = waitingFiles(folder.path);
    ASSERT_EQ(files.size(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(files[0].c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((folder.path + "/outbox").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    SmtpServer server(port);
    ASSERT_TRUE(server.ready()) << "the server did not come up on port " << port;
    // Virtual time runs on to the tick at which the retry is due; the conversation itself then
    // runs on the real socket.
    for (int tick = 0; tick < 6 && !n.sending() && n.waitingMails() > 0; ++tick)
        p.loop.advance(NotifyModel::kOutboxTickMs);
    ASSERT_TRUE(p.loop.runUntil([&] { return !n.sending() && n.waitingMails() == 0; }, 30s)) << n.StatusTxt();

    ASSERT_EQ(server.messageCount(), 1);
    EXPECT_NE(server.message(1).find("To: ann@example.com\r\n\r\n"), std::string::npos);
    EXPECT_EQ(server.envelope(1), R"({"from": "volmara@example.com", "to": ["ann@example.com"]})");
    const auto& rows = p.model->app().log.LVAlert();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].action, "Notfication Message Send to: ann@example.com");
    EXPECT_EQ(n.StatusTxt(), "Ready - Emails sent: 1");
    EXPECT_TRUE(waitingFiles(folder.path).empty());

    // The next start finds the folder there and nothing in it.
    p.model->Form_Unload();
    Program next(folder.path);
    EXPECT_EQ(next.notify().waitingMails(), 0u);
    for (const auto& row : next.model->app().log.LVAlert())
        EXPECT_EQ(row.action.find("outbox"), std::string::npos) << row.action;
}

} // namespace
} // namespace volmara::test
