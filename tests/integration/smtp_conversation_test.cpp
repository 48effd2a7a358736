#include "core/form1_model.h"
#include "core/path_rules.h"
#include "fakes/fake_files.h"
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
#include "notify/smtp_client.h"
#include "platform/posix/network_posix.h"
#include "real_conversation.h"
#include "smtp_server.h"

#include <gtest/gtest.h>

#include <memory>

namespace volmara::test {
namespace {

using namespace std::chrono_literals;

class SmtpConversationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!SmtpServer::unavailable())
            server_ = std::make_unique<SmtpServer>();
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override
    {
        if (const auto why = SmtpServer::unavailable())
            GTEST_SKIP() << *why;
        ASSERT_TRUE(server_ && server_->ready()) << "the SMTP server did not start";
    }

    SmtpServer& server() { return *server_; }

    static std::unique_ptr<SmtpServer> server_;
};
std::unique_ptr<SmtpServer> SmtpConversationTest::server_;

MailMessage message(int port)
{
    MailMessage m;
    m.mailsmtp = "127.0.0.1";
    m.mailport = port;
    m.mailto = "ann@example.com";
    m.mailfrom = "volmara@example.com";
    m.mailfromDisplayName = "Volmara";
    m.mailsubject = "Zembrik Volmara: system info";
    m.date = "Thu, 10 Dec 2026 09:30:00 +0100";
    m.messageId = "<20261210093000.1.0000000000000001@example.com>";
    return m;
}

TEST_F(SmtpConversationTest, TheServerKeepsTheMessageByteForByte)
{
    const int before = server().messageCount();
    Conversation c;
    auto mail = message(server().port());
    mail.mailbody = "Listed Drive/Path(s)\r\n.\r\n.hidden\r\nPfad: /home/j\xC3\xBCrgen\r\n\r\nCustom Message: \r\nbye";
    ASSERT_EQ(c.send(mail), true);
    EXPECT_EQ(c.socket->State(), SocketState::Closed);
    ASSERT_EQ(server().messageCount(), before + 1);
    EXPECT_EQ(server().message(before + 1), "From: \"Volmara\" volmara@example.com\r\n"
                                            "Subject: Zembrik Volmara: system info\r\n"
                                            "Date: Thu, 10 Dec 2026 09:30:00 +0100\r\n"
                                            "Message-ID: <20261210093000.1.0000000000000001@example.com>\r\n"
                                            "Content-Type: text/plain; charset=UTF-8\r\n"
                                            "To: ann@example.com\r\n"
                                            "\r\n"
                                            "Listed Drive/Path(s)\r\n"
                                            ".\r\n" // a line "." did not end the message
                                            ".hidden\r\n"
                                            "Pfad: /home/j\xC3\xBCrgen\r\n"
                                            "\r\n"
                                            "Custom Message: \r\n"
                                            "bye\r\n"
                                            "\r\n");
    EXPECT_EQ(server().envelope(before + 1), R"({"from": "volmara@example.com", "to": ["ann@example.com"]})");
}

TEST_F(SmtpConversationTest, ALongHtmlReportGoesThroughAStrictServer)
{
    const int before = server().messageCount();
    std::string body;
    for (int i = 0; i < 400; ++i)
        body += "row " + std::to_string(i) + ": value<br>";
    Conversation c;
    auto mail = message(server().port());
    mail.mailbody = body;
    mail.IsHTML = true;
    ASSERT_EQ(c.send(mail), true) << "the server refuses lines longer than 998 characters";
    const auto stored = server().message(before + 1);
    const auto bodyStart = stored.find("\r\n\r\n") + 4;
    std::string joined;
    for (std::size_t at = bodyStart, end; (end = stored.find("\r\n", at)) != std::string::npos; at = end + 2) {
        EXPECT_LE(end - at, 998u);
        joined += stored.substr(at, end - at);
    }
    EXPECT_EQ(joined, body) << "the breaks on the wire come after a <br>, where they change nothing";
    EXPECT_NE(stored.find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);
}

TEST_F(SmtpConversationTest, ARefusedConnectionFailsWithoutWaitingForTheTimeOut)
{
    Conversation c;
    EXPECT_EQ(c.send(message(closedPort())), false);
    EXPECT_LT(c.loop.nowMs(), 60000) << "ended by the refusal, not by the time-out";
    EXPECT_FALSE(c.timer.Enabled());
}

// The program on fakes except its network: the dispatcher talks to the real server.
struct Program {
    ManualEventLoop loop;
    ManualIo io{loop};
    ManualClock clock;
    ScriptedDialogs dialogs{loop};
    FakeVolumes volumes;
    FakeFiles files;
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

    Program()
    {
        clock.follow(loop);
        volumes.add("/", 900000, 2000000);
        model = std::make_unique<Form1Model>(Services{loop, io, clock, dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                                                      trash, network, systemInfo, sound, http, registry, paths, Locale{}, "/opt/volmara",
                                                      "/home/user"});
        model->Form_Load();
        loop.runPending();
    }
    AppState& app() { return model->app(); }
    NotifyModel& notify() { return model->app().frmNotify; }
};

TEST_F(SmtpConversationTest, ThreeRecipientsOfWhichTheServerRejectsTheSecond)
{
    const int before = server().messageCount();
    Program p;
    auto& n = p.notify();
    n.setText(NotifyText::txtMailServer, "127.0.0.1");
    n.setText(NotifyText::txtMailPort, std::to_string(server().port()));
    n.setText(NotifyText::txtYourEmail, "volmara@example.com");
    p.app().settings.cboNotEmail = {"ann@example.com", "reject-bob@example.com", "cy@example.com"};
    p.app().settings.lstNotContent[8] = true;
    // The rejected recipient waits for the time-out; a short one keeps the test quick.
    n.tim_timeoutSend.setInterval(1500);
    std::vector<std::string> statuses;
    n.subscribe([&] {
        if (statuses.empty() || statuses.back() != n.StatusTxt())
            statuses.push_back(n.StatusTxt());
    });

    n.startDispatch();
    ASSERT_TRUE(p.loop.runUntil([&] { return !n.sending(); }, 30s));
    EXPECT_EQ(statuses, (std::vector<std::string>{"Busy sending mail...", "Busy sending mail - Email sent: 1/3",
                                                  "Busy sending mail - Email sent: 2/3",
                                                  "Busy sending mail - Email sent: 3/3",
                                                  "Ready - Emails sent: 2 - not sent to reject-bob@example.com: 127.0.0.1:" +
                                                      std::to_string(server().port()) + " replied 550 5.1.1 mailbox unavailable"}));
    ASSERT_EQ(server().messageCount(), before + 2);
    EXPECT_NE(server().message(before + 1).find("To: ann@example.com\r\n\r\n"), std::string::npos);
    EXPECT_NE(server().message(before + 2).find("To: cy@example.com\r\n\r\n"), std::string::npos);
    EXPECT_NE(server().message(before + 1).find("Seconds: 3725.25"), std::string::npos);
    const auto& rows = p.app().log.LVAlert();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].action, "Notfication Message Send to: cy@example.com");
    EXPECT_EQ(rows[1].level, "High") << "refused for good: recorded, not kept";
    EXPECT_EQ(rows[2].action, "Notfication Message Send to: ann@example.com");
    EXPECT_EQ(p.notify().waitingMails(), 0u);
}

} // namespace
} // namespace volmara::test
