#include "core/settings_file.h"
#include "fakes/app_harness.h"
#include "notify/mail_port_file.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

const std::string CRLF = "\r\n";

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

class NotifyModelTest : public ::testing::Test {
protected:
    AppHarness h;
    std::vector<std::string> statuses;

    void SetUp() override
    {
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/"};
        h.load();
        m().subscribe([this] {
            if (statuses.empty() || statuses.back() != m().StatusTxt())
                statuses.push_back(m().StatusTxt());
        });
        m().setText(NotifyText::txtMailServer, "mail.example.com");
        m().setText(NotifyText::txtYourEmail, "me@example.com");
        h.app().settings.cboNotEmail = {"a@example.com"};
    }

    AppState& app() { return h.app(); }
    NotifyModel& m() { return h.app().frmNotify; }
    FakeSmtpServer& server() { return h.network.server; }

    // Starts a dispatch as the alert response will; the result is there once it has ended.
    std::shared_ptr<std::optional<DispatchResult>> startDispatch()
    {
        auto result = std::make_shared<std::optional<DispatchResult>>();
        app().tasks.spawn(awaitDispatch(result));
        h.loop.runPending();
        return result;
    }
    Task<void> awaitDispatch(std::shared_ptr<std::optional<DispatchResult>> result) { *result = co_await m().prcSendEmailZ(); }

    std::string compose()
    {
        auto body = std::make_shared<std::string>();
        app().tasks.spawn([](NotifyModel& model, std::shared_ptr<std::string> out) -> Task<void> {
            *out = co_await model.prcNotPreContent();
        }(m(), body));
        h.loop.runPending();
        return *body;
    }

    // The body of the i-th message the server took: after the header's empty line, without the
    // line break the conversation adds and the empty line before the final ".".
    std::string sentBody(std::size_t i)
    {
        const auto& content = server().messages.at(i);
        const auto start = content.find("\r\n\r\n") + 4;
        return content.substr(start, content.size() - start - 4);
    }
};

TEST_F(NotifyModelTest, BodyLineBreaksForEveryItemTickedOrNot)
{
    ASSERT_EQ(startDispatch()->value().sent, 1);
    EXPECT_EQ(sentBody(0), repeat(CRLF, 21) + "Custom Message: " + CRLF);

    app().settings.lstNotContent[9] = true;
    EXPECT_TRUE(compose().starts_with(repeat(CRLF, 18) + "Last 4 events:" + CRLF));

    app().settings.lstNotContent[9] = false;
    app().settings.lstNotContent[8] = true;
    app().settings.txtCustMsg = "see you";
    m().chkIsHTML_Click(true);
    startDispatch();
    const auto html = sentBody(1);
    EXPECT_EQ(html.find(CRLF), std::string::npos);
    EXPECT_TRUE(html.starts_with(repeat("<br>", 16) + "System running time: <br>")) << html;
    EXPECT_TRUE(html.ends_with("<br><br><br>Custom Message: <br>see you")) << html;
    EXPECT_NE(server().messages[1].find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);
}

TEST_F(NotifyModelTest, ItemsZeroToThreeReportTheListsInTheirOwnOrder)
{
    app().log.prcAlertInfo("20261210 09:30", "High", "ALERT", 0, nullptr);
    m().LVFileRows = [] { return std::vector<std::vector<std::string>>{{"f.txt", "1 KB"}}; };
    m().LVProgRows = [] { return std::vector<std::vector<std::string>>{{"run.sh", "Run"}}; };
    for (std::size_t i = 0; i < 4; ++i)
        m().lstNotContent_ItemCheck(i, true);
    const auto body = compose();
    const auto watch = body.find("Listed Drive/Path(s)\r\n");
    const auto alerts = body.find("Alerts\r\n");
    const auto files = body.find("Listed Specified File(s)\r\n");
    const auto programs = body.find("Listed Specified Program(s)\r\n");
    ASSERT_NE(programs, std::string::npos) << body;
    EXPECT_LT(watch, alerts);
    EXPECT_LT(alerts, files);
    EXPECT_LT(files, programs);
    EXPECT_NE(body.find("Drive Path: / Free Space: "), std::string::npos);
    EXPECT_NE(body.find("Trigger Space(KB): "), std::string::npos) << "the header with its unit";
    EXPECT_NE(body.find("Rating: High Time/Date: 20261210 09:30 Action Taken: ALERT \r\n"), std::string::npos);
    EXPECT_NE(body.find("File/Folder(s): f.txt Size: 1 KB \r\n"), std::string::npos);
    EXPECT_NE(body.find("Program: run.sh Action: Run \r\n"), std::string::npos);

    // A row the list cannot caption abandons the composition: the custom message goes alone.
    m().LVFileRows = [] { return std::vector<std::vector<std::string>>{std::vector<std::string>(8, "x")}; };
    app().settings.txtCustMsg = "only this";
    startDispatch();
    EXPECT_EQ(sentBody(0), CRLF + "Custom Message: " + CRLF + "only this");
}

TEST_F(NotifyModelTest, SectionsFromTheSystem)
{
    h.systemInfo.processList = {{"/usr/bin/Editor", 5}};
    h.systemInfo.users = {{"testbox", "ann"}};
    h.systemInfo.files["/notes.txt"] = std::string("one,\"two, three\"\r\nfour");
    m().setText(NotifyText::txtCustomContent, "/notes.txt  ");
    for (std::size_t i = 4; i < 10; ++i)
        app().settings.lstNotContent[i] = true;
    m().setText(NotifyText::txtCustEvtAmt, "2");
    h.systemInfo.journalEntries = std::vector<JournalEntry>(5);
    const auto body = compose();
    EXPECT_NE(body.find("Currently Running Processes: 1\r\n==============\r\n/usr/bin/editor 5 \r\n"), std::string::npos);
    EXPECT_NE(body.find("Total RAM: 8,000,000 KB\r\nUsed RAM: 5,000,000 KB\r\n"), std::string::npos);
    EXPECT_NE(body.find("File Contents: /notes.txt  \r\n=============\r\none\r\ntwo, three\r\nfour\r\n"), std::string::npos);
    EXPECT_EQ(h.systemInfo.readPaths.back(), "/notes.txt") << "the trimmed path is read";
    EXPECT_NE(body.find("Account = ann\r\n\r\n\r\n=============\r\n\r\n"), std::string::npos) << body;
    EXPECT_NE(body.find("Seconds: 3725.25"), std::string::npos);
    EXPECT_NE(body.find("Last 2 events:"), std::string::npos);
    EXPECT_NE(body.find("Event: 2\r\n"), std::string::npos);
    EXPECT_EQ(body.find("Event: 3\r\n"), std::string::npos);

    for (const auto* amount : {"", "many"}) {
        SCOPED_TRACE(amount);
        m().setText(NotifyText::txtCustEvtAmt, amount);
        EXPECT_NE(compose().find("Last 4 events:"), std::string::npos);
    }
}

TEST_F(NotifyModelTest, ThreeRecipientsOfWhichTheSecondIsRejected)
{
    app().settings.cboNotEmail = {" a@example.com ", "b@example.com", "c@example.com"};
    server().rejectRecipients = {"b@example.com"};
    statuses.clear();
    const auto result = startDispatch();
    EXPECT_FALSE(result->has_value()) << "the rejected recipient waits for the time-out";
    h.loop.advance(60000);
    ASSERT_TRUE(result->has_value());
    EXPECT_EQ(result->value().sent, 2);
    const std::string refusal = "mail.example.com:25 replied 550 5.1.1 mailbox unavailable";
    EXPECT_EQ(statuses, (std::vector<std::string>{"Busy sending mail...", "Busy sending mail - Email sent: 1/3",
                                                  "Busy sending mail - Email sent: 2/3",
                                                  "Busy sending mail - Email sent: 3/3",
                                                  "Ready - Emails sent: 2 - not sent to b@example.com: " + refusal}));
    const auto& rows = app().log.LVAlert();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].action, "Notfication Message Send to: c@example.com");
    EXPECT_EQ(rows[1].action, "Notification Message not Sent to: b@example.com: " + refusal);
    EXPECT_EQ(rows[1].level, "High");
    EXPECT_EQ(rows[2].action, "Notfication Message Send to: a@example.com");
    EXPECT_EQ(rows[2].level, "Medium");
    EXPECT_EQ(rows[2].time, "20261210 09:30");
    EXPECT_EQ(m().waitingMails(), 0u) << "a refusal for good is not kept";
    EXPECT_EQ(server().commands[2], "rcpt to:<a@example.com>") << "sent to the trimmed address";
    EXPECT_EQ(server().messages.size(), 2u);
}

TEST_F(NotifyModelTest, ChecksBeforeSendingReportInTheStatusOnly)
{
    struct Case {
        NotifyText box;
        const char* status;
    };
    for (const auto& c : {Case{NotifyText::txtMailServer, "No SMTP server selected for outgoing mail"},
                          Case{NotifyText::txtMailPort, "No SMTP server PORT selected for outgoing mail (default = 25)"},
                          Case{NotifyText::txtYourEmail, "No EMAIL address selected for outgoing mail"}}) {
        SCOPED_TRACE(c.status);
        const auto kept = m().text(c.box);
        m().setText(c.box, "   ");
        const auto result = startDispatch();
        EXPECT_EQ(result->value().outcome, DispatchResult::Outcome::Incomplete);
        EXPECT_EQ(m().StatusTxt(), c.status);
        m().setText(c.box, kept);
    }
    EXPECT_TRUE(server().connections.empty());
    EXPECT_TRUE(app().log.LVAlert().empty());
    EXPECT_FALSE(m().sending());
}

TEST_F(NotifyModelTest, RecipientsThatCannotBeSentFailWithoutAConversation)
{
    struct Case {
        const char* name;
        std::function<void(AppState&, NotifyModel&)> setUp;
        std::size_t connections; // attempts the server saw
        std::string why;         // after "Ready - Emails sent: 0 - not sent to "
    };
    const std::string lineBreak = "a line break in the addresses, the subject or the display name";
    const std::vector<Case> cases{
        {"line break in the subject", [](AppState& a, NotifyModel&) { a.settings.txtMailSubj = "hi\rRCPT TO:<x@evil>"; }, 0,
         "a@example.com: " + lineBreak},
        {"line break in the recipient",
         [](AppState& a, NotifyModel&) { a.settings.cboNotEmail = {"a@example.com\r\nRCPT TO:<x@evil>"}; }, 0,
         "a@example.com  RCPT TO:<x@evil>: " + lineBreak},
        {"line break in the display name", [](AppState& a, NotifyModel&) { a.settings.txtMailFromDisplayName = "V\nBcc: x"; },
         0, "a@example.com: " + lineBreak},
        {"port not a number", [](AppState&, NotifyModel& n) { n.setText(NotifyText::txtMailPort, "smtp"); }, 0,
         "a@example.com: the port is no number"},
        {"proxy without a server",
         [](AppState&, NotifyModel& n) {
             n.chkProxy_Click(true);
             n.setText(NotifyText::txtPort, "25");
         },
         1, "a@example.com: could not connect to :25; no mail server to keep it for"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server() = FakeSmtpServer{};
        const auto kept = app().settings;
        c.setUp(app(), m());
        const auto result = startDispatch();
        ASSERT_TRUE(result->has_value());
        EXPECT_EQ(result->value().sent, 0);
        EXPECT_EQ(m().StatusTxt(), "Ready - Emails sent: 0 - not sent to " + c.why);
        EXPECT_EQ(m().waitingMails(), 0u) << "nothing to try again";
        EXPECT_EQ(server().connections.size(), c.connections);
        EXPECT_TRUE(server().commands.empty());
        app().settings = kept;
        m().setText(NotifyText::txtMailPort, "25");
    }
    EXPECT_TRUE(app().log.LVAlert().empty());
}

TEST_F(NotifyModelTest, ASecondDispatchIsRefusedWhileOneRuns)
{
    server().onConnect = FakeSmtpServer::OnConnect::NeverAnswer;
    const auto first = startDispatch();
    EXPECT_TRUE(m().sending());
    // The rest of the program goes on meanwhile: the watch ticks.
    const auto checks = app().checksDone;
    h.loop.advance(30000);
    EXPECT_GT(app().checksDone, checks);

    const auto second = startDispatch();
    ASSERT_TRUE(second->has_value());
    EXPECT_EQ(second->value().outcome, DispatchResult::Outcome::Busy);
    EXPECT_EQ(m().StatusTxt(), "Busy sending mail - this request was not sent");
    EXPECT_EQ(server().connections.size(), 1u);

    server().onConnect = FakeSmtpServer::OnConnect::Accept;
    h.loop.advance(30000);
    ASSERT_TRUE(first->has_value());
    EXPECT_EQ(first->value().sent, 0);
    EXPECT_EQ(m().StatusTxt(), "Ready - Emails sent: 0 (1 waiting in the outbox) - not sent to a@example.com: "
                               "could not connect to mail.example.com:25");
    EXPECT_FALSE(m().sending());
    EXPECT_EQ(startDispatch()->value().sent, 1);
}

TEST_F(NotifyModelTest, RecipientCommands)
{
    auto& list = app().settings.cboNotEmail;
    list.clear();
    m().setText(NotifyText::cboNotEmail, "  ann@example.com  ");
    m().cmdAdd_Click();
    m().cboNotEmail_Enter();
    EXPECT_EQ(list, (std::vector<std::string>{"ann@example.com", "  ann@example.com  "}));
    for (const auto* refused : {"ann.example.com", "ann@example"}) {
        m().setText(NotifyText::cboNotEmail, refused);
        m().cmdAdd_Click();
    }
    m().cboNotEmail_Enter(); // Enter adds without any test
    EXPECT_EQ(list.size(), 3u);

    m().cmdRemove_Click(); // nothing selected
    EXPECT_EQ(list.size(), 3u);
    m().selectRecipient(0);
    m().cmdRemove_Click();
    EXPECT_EQ(list, (std::vector<std::string>{"  ann@example.com  ", "ann@example"}));
    m().cmdClearAll_Click();
    EXPECT_TRUE(list.empty());
}

TEST_F(NotifyModelTest, TickingTheCustomFileItemAsksForAFile)
{
    const auto asked = [&] { return h.dialogs.texts(); };
    const std::string question = "A text base file must be specified.  Select a file now?";

    h.dialogs.answers = {MsgAnswer::No};
    m().lstNotContent_ItemCheck(6, true);
    h.loop.runPending();
    EXPECT_EQ(asked().back(), question);
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Question);
    EXPECT_FALSE(m().contentTicked(6));

    h.dialogs.answers = {MsgAnswer::Yes};
    h.dialogs.files = {std::optional<std::string>()}; // the chooser is cancelled
    m().lstNotContent_ItemCheck(6, true);
    h.loop.runPending();
    EXPECT_FALSE(m().contentTicked(6));

    h.dialogs.answers = {MsgAnswer::Yes};
    h.dialogs.files = {std::string("/home/user/notes.txt")};
    m().lstNotContent_ItemCheck(6, true);
    h.loop.runPending();
    EXPECT_TRUE(m().contentTicked(6));
    EXPECT_EQ(m().text(NotifyText::txtCustomContent), "/home/user/notes.txt");
    EXPECT_EQ(h.dialogs.fileFilters.back(),
              (std::vector<std::string>{"*.txt,*.xml,*.html,*.htm (*.txt *.xml *.html *.htm)", "*.* (*)"}));

    const auto questions = h.dialogs.shown.size();
    m().lstNotContent_ItemCheck(6, false);
    m().lstNotContent_ItemCheck(6, true); // a file is named: nothing to ask
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.shown.size(), questions);
    EXPECT_TRUE(m().contentTicked(6));
}

TEST_F(NotifyModelTest, ApplyOkCancelAndSendNow)
{
    m().show();
    m().cmdApply_Click();
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.texts().back(), "You have not fill in all your email account settings\r\n"
                                        "Mail Server, UserName, Password, To: Email(s), etc.\r\n"
                                        "Do you wish to leave it like it is");
    EXPECT_EQ(h.dialogs.shown.back().icon, MsgIcon::Information);
    EXPECT_TRUE(m().visible());

    m().setText(NotifyText::txtUser, "me");
    m().setText(NotifyText::txtPass, "secret");
    const auto shown = h.dialogs.shown.size();
    m().cmdOK_Click();
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.shown.size(), shown) << "all filled in: no question";
    EXPECT_FALSE(m().visible());
    m().show();
    m().setText(NotifyText::txtMailSubj, "edited");
    m().cmdCancel_Click();
    EXPECT_FALSE(m().visible());
    EXPECT_EQ(app().settings.txtMailSubj, "edited") << "Cancel keeps what was typed";

    h.dialogs.answers = {MsgAnswer::No};
    m().cmdSendNow_Click();
    h.loop.runPending();
    EXPECT_EQ(h.dialogs.texts().back(), "Are you sure you want to send notifications now?");
    EXPECT_TRUE(server().messages.empty());
    h.dialogs.answers = {MsgAnswer::Yes};
    m().cmdSendNow_Click();
    h.loop.runPending();
    EXPECT_EQ(server().messages.size(), 1u);
    EXPECT_EQ(m().StatusTxt(), "Ready - Emails sent: 1");
}

TEST_F(NotifyModelTest, ControlsAreTheSettingsAndThePortLivesInExtraDat)
{
    m().setText(NotifyText::txtMailSubj, "line\r\nbreak");
    EXPECT_EQ(app().settings.txtMailSubj, "line  break") << "set.dat keeps one value a line";
    m().chkProxy_Click(true);
    EXPECT_TRUE(m().proxyBoxesEnabled());
    m().setText(NotifyText::txtMailPort, "2525");
    m().setDTPicker1(7, 30);
    h.files.files["/opt/volmara/extra.dat"] = "file=/keep/me\r\nlater=kept\r\n";

    h.model->Form_Unload();
    EXPECT_EQ(h.files.files["/opt/volmara/extra.dat"], "mailport=2525\r\nfile=/keep/me\r\nlater=kept\r\n");
    EXPECT_TRUE(h.files.ownerOnly["/opt/volmara/extra.dat"]);
    const auto setDat = h.setDat();
    for (const auto* line : {"notMailServer=mail.example.com\r\n", "notcboEmail=a@example.com\r\n",
                             "notchkProxy=1\r\n", "notDTPicker1=07:30:00\r\n", "notEmailSubj=line  break\r\n"})
        EXPECT_NE(setDat.find(line), std::string::npos) << line;
    EXPECT_EQ(setDat.find("2525"), std::string::npos);

    AppHarness next;
    next.volumes.add("/", 900000, 2000000);
    next.files.files = h.files.files;
    next.load();
    EXPECT_EQ(next.app().frmNotify.text(NotifyText::txtMailPort), "2525");
    EXPECT_EQ(next.app().frmNotify.text(NotifyText::txtMailServer), "mail.example.com");
    EXPECT_TRUE(next.app().frmNotify.tmrEmail.Enabled());

    AppHarness first;
    first.volumes.add("/", 900000, 2000000);
    first.load();
    EXPECT_EQ(first.app().frmNotify.text(NotifyText::txtMailPort), "25");

    // Closed before start-up got to the settings: the stored port is left as it is.
    AppHarness early;
    early.volumes.add("/", 900000, 2000000);
    early.files.files = h.files.files;
    early.make().Form_Load(); // start-up now waits on the drives
    early.model->Form_Unload();
    EXPECT_EQ(early.files.files["/opt/volmara/extra.dat"], h.files.files["/opt/volmara/extra.dat"]);
}

class NotifyScheduleTest : public NotifyModelTest {
protected:
    void tick(int times = 1) { h.loop.advance(60000LL * times); }
    std::size_t sent() const { return h.network.server.messages.size(); }
};

TEST_F(NotifyScheduleTest, CountersAndTheDailyMinute)
{
    EXPECT_TRUE(m().tmrEmail.Enabled());
    EXPECT_EQ(m().tmrEmail.Interval(), 60000);
    tick(59);
    EXPECT_EQ(m().g_NotTime, 59);
    tick();
    EXPECT_EQ(m().g_NotTime, 0) << "set back at the end of the tick that reached 60";
    EXPECT_EQ(sent(), 0u) << "no option ticked";

    // Only the daily option at 07:30: the tick inside that minute sends, no other of the day.
    h.clock.set(DateTime{2026, 12, 10, 7, 0, 30});
    m().lstNotTime_ItemCheck(1, true);
    m().setDTPicker1(7, 30);
    tick(29);
    EXPECT_EQ(sent(), 0u);
    tick();
    EXPECT_EQ(h.clock.now(), (DateTime{2026, 12, 10, 7, 30, 30}));
    EXPECT_EQ(sent(), 1u);
    tick(24 * 60 - 1);
    EXPECT_EQ(sent(), 1u);
    tick();
    EXPECT_EQ(sent(), 2u) << "the next day";
}

TEST_F(NotifyScheduleTest, HourlyAndInterval)
{
    m().lstNotTime_ItemCheck(0, true);
    m().lstNotTime_ItemCheck(3, true); // stored and shown only
    tick(180);
    EXPECT_EQ(sent(), 3u);

    m().lstNotTime_ItemCheck(0, false);
    m().setDTPicker2(0, 0);
    m().lstNotTime_ItemCheck(2, true);
    tick(30);
    EXPECT_EQ(sent(), 3u) << "a zero interval never comes due";

    m().setDTPicker2(0, 2);
    m().g_Inter = 0;
    tick(10);
    EXPECT_EQ(sent(), 8u);
    EXPECT_EQ(m().g_Inter, 0);
}

} // namespace
} // namespace volmara::test
