// The update check with the real HTTP client and I/O workers against a server on 127.0.0.1.
#include "core/app_state.h"
#include "core/path_rules.h"
#include "fakes/fake_files.h"
#include "fakes/fake_network.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sound.h"
#include "fakes/fake_system_info.h"
#include "fakes/fake_trash.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/scripted_dialogs.h"
#include "http_server.h"
#include "platform/posix/http_posix.h"
#include "platform/posix/io_pool.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

using namespace std::chrono_literals;

struct RealFetch {
    ManualEventLoop loop;
    PosixIoPool io{loop};
    ManualClock clock;
    ScriptedDialogs dialogs{loop};
    FakeVolumes volumes;
    FakeFiles files;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    FakeShell shell;
    FakeTrash trash;
    FakeNetwork network;
    FakeSystemInfo systemInfo;
    FakeSound sound;
    PosixHttp http;
    FakeRegistry registry;
    PosixPathRules paths{volumes};
    AppState app{Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell, trash, network,
                          systemInfo, sound, http, registry, paths, Locale{}, "/opt/volmara", "/home/user"}};

    // Runs one check to its end; false when it did not end in time.
    bool check(const std::string& url, VersionNumber own)
    {
        app.updateCheck.url = url;
        app.updateCheck.ownVersion = own;
        app.updateCheck.prcChkUpdate();
        return loop.runUntil([&] { return !app.updateCheck.running(); }, 30s);
    }
};

TEST(UpdateFetch, ThePublishedVersionAgainstTheProgramsOwn)
{
    HttpServer server;
    const std::string many(5 * 1024 * 1024, 'x');
    struct Case {
        std::string path;
        HttpServer::Page page;
        VersionNumber own;
        std::string label; // empty: nothing is shown
    };
    for (const auto& c : {
             Case{"/newer", {200, "<html>update=2.0</html>", false}, {1, 5}, ""}, // "</html>" makes it text
             Case{"/newer-plain", {200, "<html>\nupdate=2.0\n        </html>", false}, {1, 5}, ""},
             Case{"/newer-alone", {200, "status\nupdate=2.0", false}, {1, 5}, "New update available: 2.0"},
             Case{"/same", {200, "update=1.5", false}, {1, 5}, ""},
             Case{"/minor", {200, "update=1.10", false}, {1, 2}, "New update available: 1.10"},
             Case{"/older-minor", {200, "update=1.2", false}, {1, 10}, ""},
             Case{"/no-marker", {200, "version 2.0", false}, {1, 5}, ""},
             Case{"/not-a-number", {200, "update=two", false}, {1, 5}, ""},
             Case{"/not-found", {404, "update=9.0", false}, {1, 5}, ""},
             Case{"/big-marker-late", {200, many + "update=9.0", false}, {1, 5}, ""},
             Case{"/big-marker-early", {200, "update=9.0        " + many, false}, {1, 5}, "New update available: 9.0"},
         }) {
        SCOPED_TRACE(c.path);
        RealFetch f;
        server.page(c.path, c.page);
        ASSERT_TRUE(f.check(server.url(c.path), c.own));
        EXPECT_EQ(f.app.form1.lblNewVer, c.label);
        if (c.label.empty())
            EXPECT_TRUE(f.dialogs.shown.empty());
        else
            EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{std::string(kNewerVersionMessage)});
    }
}

TEST(UpdateFetch, ALargePageIsReadOnlyUpToTheCap)
{
    HttpServer server;
    // Larger than the kernel's socket buffers can hold, so a client that stops reading shows.
    constexpr std::size_t kPage = 32 * 1024 * 1024;
    server.page("/big", {200, std::string(kPage, 'x'), false});
    PosixHttp http;
    const auto reply = http.get(HttpRequest{server.url("/big"), 10s, 64 * 1024});
    EXPECT_TRUE(reply.ok) << reply.error;
    EXPECT_TRUE(reply.truncated);
    EXPECT_EQ(reply.body.size(), 64u * 1024u);
    // The client went away: the server could not hand over the whole page.
    const auto until = std::chrono::steady_clock::now() + 20s;
    while (server.pagesDone() < 1 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server.pagesDone(), 1);
    EXPECT_LT(server.bytesSent(), kPage);
}

TEST(UpdateFetch, AServerThatNeverAnswersEndsInSilenceWithoutHoldingTheWindow)
{
    HttpServer server;
    server.page("/silent", {200, "", true});
    RealFetch f;
    f.app.updateCheck.timeout = 1s;
    f.app.updateCheck.url = server.url("/silent");
    f.app.updateCheck.ownVersion = {1, 5};
    f.app.updateCheck.prcChkUpdate();
    // The command returned at once and the loop goes on serving while the fetch waits.
    EXPECT_TRUE(f.app.updateCheck.running());
    bool served = false;
    f.loop.post([&] { served = true; });
    f.loop.runPending();
    EXPECT_TRUE(served);
    EXPECT_TRUE(f.app.updateCheck.running());

    ASSERT_TRUE(f.loop.runUntil([&] { return !f.app.updateCheck.running(); }, 30s));
    EXPECT_TRUE(f.dialogs.shown.empty());
    EXPECT_EQ(f.app.form1.lblNewVer, "");

    // Nobody listens at all.
    RealFetch g;
    ASSERT_TRUE(g.check("http://127.0.0.1:1/Volmara/status.htm", {1, 5}));
    EXPECT_TRUE(g.dialogs.shown.empty());
}

} // namespace
} // namespace volmara::test
