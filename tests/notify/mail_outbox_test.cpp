#include "core/pause_control.h"
#include "fakes/app_harness.h"
#include "notify/mail_outbox.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

const std::string kOutbox = "/opt/volmara/outbox/";

QueuedMail sampleMail()
{
    QueuedMail q;
    q.mail.mailsmtp = "mail.example.com";
    q.mail.mailport = 2525;
    q.mail.mailfrom = "me@example.com";
    q.mail.mailfromDisplayName = "Volmara = watcher";
    q.mail.mailto = "a@example.com";
    q.mail.mailsubject = "Zembrik Volmara: system info";
    q.mail.mailbody = "Listed Drive/Path(s)\r\n=============\r\nC:\\temp\\n is not a break\r\n\r\nCustom Message: \r\nbye";
    q.mail.IsHTML = true;
    q.mail.date = "Thu, 10 Dec 2026 09:30:00 +0100";
    q.mail.messageId = "<20261210093000.1.1@example.com>";
    q.mail.user = "me";
    q.firstTry = DateTime{2026, 12, 10, 9, 30, 0};
    q.attempts = 3;
    q.nextDue = DateTime{2026, 12, 10, 9, 37, 0};
    q.reason = "could not connect to mail.example.com:2525";
    return q;
}

TEST(OutboxFile, ReadsBackWhatItWroteAndNamesWhatIsDamaged)
{
    const auto q = sampleMail();
    const auto text = outboxText(q);
    EXPECT_TRUE(text.starts_with("volmara-outbox 1\nserver=mail.example.com\nport=2525\n")) << text;
    EXPECT_NE(text.find("body=Listed Drive/Path(s)\\r\\n=============\\r\\nC:\\\\temp\\\\n is not a break"), std::string::npos)
        << "one line, backslashes doubled";
    const auto back = readOutboxText(text);
    ASSERT_TRUE(back.queued) << back.problem;
    const auto& m = back.queued->mail;
    EXPECT_EQ(m.mailbody, q.mail.mailbody);
    EXPECT_EQ(m.mailfromDisplayName, q.mail.mailfromDisplayName);
    EXPECT_EQ(m.mailport, 2525);
    EXPECT_TRUE(m.IsHTML);
    EXPECT_EQ(m.date, q.mail.date);
    EXPECT_EQ(m.messageId, q.mail.messageId);
    EXPECT_EQ(m.user, "me");
    EXPECT_EQ(back.queued->firstTry, q.firstTry);
    EXPECT_EQ(back.queued->nextDue, q.nextDue);
    EXPECT_EQ(back.queued->attempts, 3);
    EXPECT_EQ(back.queued->reason, q.reason);

    const auto replaced = [&](const std::string& from, const std::string& to) {
        auto t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        const char* name;
        std::string text;
    };
    const std::vector<Case> damaged{
        {"empty", ""},
        {"another version", replaced("volmara-outbox 1", "volmara-outbox 2")},
        {"unknown key", replaced("html=1", "colour=1")},
        {"missing key", replaced("user=me\n", "")},
        {"key twice", replaced("user=me\n", "user=me\nuser=you\n")},
        {"broken escape", replaced("\\r\\n=====", "\\x=====")},
        {"port no number", replaced("port=2525", "port=25x")},
        {"time no date", replaced("due=2026-12-10 09:37:00", "due=soon")},
        {"html neither", replaced("html=1", "html=yes")},
        {"cut off", text.substr(0, text.size() - 1)},
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.name);
        const auto reading = readOutboxText(c.text);
        EXPECT_FALSE(reading.queued);
        EXPECT_FALSE(reading.problem.empty());
    }
}

class MailOutboxTest : public ::testing::Test {
protected:
    AppHarness h;

    void SetUp() override
    {
        start(h);
        h.network.server.onConnect = FakeSmtpServer::OnConnect::Refuse;
    }

    static void start(AppHarness& harness)
    {
        harness.volumes.add("/", 900000, 2000000);
        harness.files.folders.insert("/");
        harness.load();
        auto& n = harness.app().frmNotify;
        n.setText(NotifyText::txtMailServer, "mail.example.com");
        n.setText(NotifyText::txtYourEmail, "me@example.com");
        n.setText(NotifyText::txtUser, "me");
        n.setText(NotifyText::txtPass, "s3cret");
        harness.app().settings.cboNotEmail = {"a@example.com"};
    }

    AppState& app() { return h.app(); }
    NotifyModel& m() { return h.app().frmNotify; }
    FakeSmtpServer& server() { return h.network.server; }

    void dispatch(AppHarness& harness)
    {
        harness.app().frmNotify.startDispatch();
        harness.loop.runPending();
    }

    static std::map<std::string, std::string> outboxFiles(const AppHarness& harness)
    {
        std::map<std::string, std::string> found;
        for (const auto& [path, content] : harness.files.files) {
            if (path.starts_with(kOutbox))
                found.emplace(path, content);
        }
        return found;
    }

    static std::vector<std::string> actions(const AppState& app, const std::string& level)
    {
        std::vector<std::string> found;
        for (const auto& row : app.log.LVAlert()) {
            if (row.level == level)
                found.push_back(row.action);
        }
        return found;
    }
};

TEST_F(MailOutboxTest, RetriesAfterOneTwoFourMinutesUpToAnHourAndGivesUpAfterADay)
{
    dispatch(h);
    ASSERT_EQ(m().waitingMails(), 1u);

    // The server stays down: note the minute of every try until the message is given up.
    std::vector<std::int64_t> triedAt{0};
    std::optional<std::int64_t> givenUpAt;
    for (int step = 1; step <= 2 * 25 * 60 && !givenUpAt; ++step) {
        const auto before = server().connections.size();
        h.loop.advance(30000);
        if (server().connections.size() > before)
            triedAt.push_back(h.loop.nowMs() / 60000);
        if (m().waitingMails() == 0)
            givenUpAt = h.loop.nowMs() / 60000;
    }
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < triedAt.size(); ++i)
        gaps.push_back(triedAt[i] - triedAt[i - 1]);
    std::vector<std::int64_t> expected{1, 2, 4, 8, 16, 32};
    expected.resize(expected.size() + 22, 60); // the last try at 1383 minutes, the next would be after a day
    EXPECT_EQ(gaps, expected);

    ASSERT_TRUE(givenUpAt);
    EXPECT_EQ(*givenUpAt, 24 * 60);
    EXPECT_TRUE(outboxFiles(h).empty());
    const auto high = actions(app(), "High");
    ASSERT_EQ(high.size(), 1u);
    EXPECT_EQ(high[0], "Notification Message to a@example.com given up after 24 hours in the outbox: "
                       "could not connect to mail.example.com:25");
    EXPECT_EQ(m().StatusTxt(), "Ready - Emails sent: 0 - given up on a@example.com after 24 hours");
}

TEST_F(MailOutboxTest, AReplyOfFiveHundredFiftyIsNotTried)
{
    // Refused at once, and refused on a later try of a message that waited: both end it.
    server().onConnect = FakeSmtpServer::OnConnect::Accept;
    server().rejectRecipients = {"a@example.com"};
    dispatch(h);
    h.loop.advance(60000); // the refused recipient's wait ends with the time-out
    EXPECT_EQ(m().waitingMails(), 0u);
    EXPECT_TRUE(outboxFiles(h).empty());
    const std::string reason = "mail.example.com:25 replied 550 5.1.1 mailbox unavailable";
    EXPECT_EQ(actions(app(), "High"), (std::vector<std::string>{"Notification Message not Sent to: a@example.com: " + reason}));
    EXPECT_EQ(m().StatusTxt(), "Ready - Emails sent: 0 - not sent to a@example.com: " + reason);

    server().onConnect = FakeSmtpServer::OnConnect::Refuse;
    dispatch(h);
    ASSERT_EQ(m().waitingMails(), 1u);
    server().onConnect = FakeSmtpServer::OnConnect::Accept;
    const auto connections = server().connections.size();
    h.loop.advance(3 * 60000);
    EXPECT_EQ(server().connections.size(), connections + 1) << "tried once, not again";
    EXPECT_EQ(m().waitingMails(), 0u);
    EXPECT_TRUE(outboxFiles(h).empty());
    EXPECT_EQ(actions(app(), "High").size(), 2u);
    EXPECT_TRUE(server().messages.empty());
}

TEST_F(MailOutboxTest, AWaitingMessageSurvivesARestartAndGoesOutWithItsRecord)
{
    auto& tray = app().sysWorkSystray;
    tray.systemTrayAvailable = [] { return true; };
    app().settings.chkSystray = 1;
    tray.prcAddSystray(1, "");
    dispatch(h);
    EXPECT_NE(tray.tip().find(" 1 in outbox."), std::string::npos) << "at once: " << tray.tip();
    EXPECT_EQ(m().StatusTxt(),
              "Ready - Emails sent: 0 (1 waiting in the outbox) - not sent to a@example.com: could not connect to mail.example.com:25");
    EXPECT_TRUE(traySummary(app()).ends_with(" Alert(s). 1 in outbox.")) << traySummary(app());
    EXPECT_TRUE(actions(app(), "Medium").empty());

    const auto files = outboxFiles(h);
    ASSERT_EQ(files.size(), 1u);
    const auto& [path, text] = *files.begin();
    EXPECT_TRUE(h.files.ownerOnly[path]);
    EXPECT_TRUE(path.ends_with(".msg"));
    for (const auto* line : {"to=a@example.com\n", "server=mail.example.com\n", "user=me\n", "attempts=1\n",
                             "firsttry=2026-12-10 09:30:00\n", "due=2026-12-10 09:31:00\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("s3cret"), std::string::npos) << "the password is never written";

    h.model->Form_Unload();
    EXPECT_EQ(outboxFiles(h), files) << "closing leaves the outbox as it is";

    AppHarness next;
    next.files.files = h.files.files;
    start(next);
    auto& n = next.app().frmNotify;
    ASSERT_EQ(n.waitingMails(), 1u);
    EXPECT_EQ(n.StatusTxt(), "Ready - 1 waiting in the outbox");
    n.setText(NotifyText::txtPass, "changed");
    next.loop.advance(60000);
    ASSERT_EQ(next.network.server.messages.size(), 1u);
    EXPECT_NE(next.network.server.messages[0].find("To: a@example.com\r\n"), std::string::npos);
    EXPECT_EQ(n.waitingMails(), 0u);
    EXPECT_TRUE(outboxFiles(next).empty());
    EXPECT_EQ(actions(next.app(), "Medium"), (std::vector<std::string>{"Notfication Message Send to: a@example.com"}));
    EXPECT_EQ(n.StatusTxt(), "Ready - Emails sent: 1");
    EXPECT_FALSE(traySummary(next.app()).ends_with("in outbox."));
}

TEST_F(MailOutboxTest, ADamagedFileIsSetAsideAndTheOthersStillLoad)
{
    AppHarness next;
    next.files.files = {
        {kOutbox + "20261210-093000-1-0000000a.msg", outboxText(sampleMail())},
        {kOutbox + "20261210-093000-2-0000000b.msg", "volmara-outbox 1\nto=\\q\n"},
        {kOutbox + ".20261210-093000-3-0000000c.msg.123.tmp", "half a file"},
    };
    start(next);
    EXPECT_EQ(next.app().frmNotify.waitingMails(), 1u);
    EXPECT_TRUE(next.files.fileExists(kOutbox + "20261210-093000-2-0000000b.msg.bad"));
    EXPECT_FALSE(next.files.fileExists(kOutbox + "20261210-093000-2-0000000b.msg"));
    EXPECT_TRUE(next.files.fileExists(kOutbox + ".20261210-093000-3-0000000c.msg.123.tmp")) << "not ours to touch";
    const auto high = actions(next.app(), "High");
    ASSERT_EQ(high.size(), 1u);
    EXPECT_TRUE(high[0].starts_with("Damaged outbox file set aside as " + kOutbox + "20261210-093000-2-0000000b.msg.bad: "))
        << high[0];

    // The restart after that finds nothing more to set aside.
    AppHarness again;
    again.files.files = next.files.files;
    start(again);
    EXPECT_EQ(again.app().frmNotify.waitingMails(), 1u);
    EXPECT_TRUE(actions(again.app(), "High").empty());
}

TEST_F(MailOutboxTest, AReportAskedForDuringRetriesWaitsForTheMessageInHandAndGoesFirst)
{
    app().settings.cboNotEmail = {"a@example.com", "b@example.com"};
    dispatch(h);
    ASSERT_EQ(m().waitingMails(), 2u);

    // The server answers nothing: the round hangs on its first message.
    server().onConnect = FakeSmtpServer::OnConnect::NeverAnswer;
    h.loop.advance(60000);
    ASSERT_TRUE(m().sending());
    const auto connections = server().connections.size();

    auto result = std::make_shared<std::optional<DispatchResult>>();
    app().tasks.spawn([](NotifyModel& n, std::shared_ptr<std::optional<DispatchResult>> out) -> Task<void> {
        *out = co_await n.prcSendEmailZ();
    }(m(), result));
    h.loop.runPending();
    EXPECT_FALSE(result->has_value()) << "waits, is not refused";

    server().onConnect = FakeSmtpServer::OnConnect::Accept;
    h.loop.advance(60000); // the retry in hand times out
    ASSERT_TRUE(result->has_value());
    EXPECT_EQ(result->value().outcome, DispatchResult::Outcome::Ran);
    EXPECT_EQ(result->value().sent, 2);
    EXPECT_EQ(server().connections.size(), connections + 2) << "the round stopped after the message in hand";
    EXPECT_EQ(m().waitingMails(), 2u) << "the earlier reports still wait for their turn";
    EXPECT_FALSE(m().sending());
}

} // namespace
} // namespace volmara::test
