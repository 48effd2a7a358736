#include "fakes/fake_network.h"
#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "notify/smtp_client.h"
#include "notify/smtp_wire.h"

#include <gtest/gtest.h>

namespace volmara::test {
namespace {

MailMessage message()
{
    MailMessage m;
    m.mailsmtp = "mail.example.com";
    m.mailport = 25;
    m.mailto = "rcpt@example.com";
    m.mailfrom = "me@example.com";
    m.mailfromDisplayName = "Volmara";
    m.mailsubject = "Zembrik Volmara: system info";
    m.mailbody = "line one\r\n.hidden\r\nlast";
    m.date = "Thu, 10 Dec 2026 09:30:00 +0100";
    m.messageId = "<x@example.com>";
    return m;
}

// The same message with a log-in, as the dispatcher hands it over on a submission port.
MailMessage submission(std::int32_t port = 587)
{
    auto m = message();
    m.mailport = port;
    m.user = "ann";
    m.password = "s3cret";
    m.heloName = "box";
    return m;
}

const std::string kAuthPlain = "AUTH PLAIN AGFubgBzM2NyZXQ=\r\n"; // "\0ann\0s3cret"

// What follows the greeting (and the log-in) in every conversation.
const std::string kEnvelopeAndMessage = "mail from:<me@example.com>\r\n"
                                        "rcpt to:<rcpt@example.com>\r\n"
                                        "DATA\r\n"
                                        "From: \"Volmara\" me@example.com\r\n"
                                        "Subject: Zembrik Volmara: system info\r\n"
                                        "Date: Thu, 10 Dec 2026 09:30:00 +0100\r\n"
                                        "Message-ID: <x@example.com>\r\n"
                                        "Content-Type: text/plain; charset=UTF-8\r\n"
                                        "To: rcpt@example.com\r\n"
                                        "\r\n"
                                        "line one\r\n"
                                        "..hidden\r\n"
                                        "last\r\n"
                                        "\r\n"
                                        ".\r\n"
                                        "QUIT\r\n";

// One conversation on a scripted socket, run on the manual loop.
class SmtpClientTest : public ::testing::Test {
protected:
    ManualEventLoop loop;
    ManualIo io{loop};
    FakeNetwork network;
    std::unique_ptr<TcpSocket> owned = network.createSocket(loop, io);
    ScriptedSocket& socket = *network.sockets.back();
    FakeSmtpServer& server = network.server;
    Timer timer{loop, 60000};
    MailTimeout timeout{timer, *owned};
    SmtpClient client{*owned, timeout};
    TaskScope scope;
    std::optional<bool> result;

    void start(MailMessage mail = message())
    {
        result.reset();
        scope.spawn(run(std::move(mail)));
        loop.runPending();
    }
    Task<void> run(MailMessage mail) { result = co_await client.sendmail(std::move(mail)); }

    // A conversation whose result says why, on a fresh server and transcript.
    std::optional<MailResult> outcome;
    void submit(MailMessage mail)
    {
        socket.sent.clear();
        outcome.reset();
        scope.spawn([](SmtpClient& c, MailMessage m, std::optional<MailResult>& out) -> Task<void> {
            auto conversation = c.deliver(std::move(m));
            out = co_await conversation;
        }(client, std::move(mail), outcome));
        loop.runPending();
    }
};

TEST_F(SmtpClientTest, DeliversWithTheProgramsWireLayout)
{
    start();
    ASSERT_EQ(result, true);
    EXPECT_EQ(socket.sent, "helo mail.example.com\r\n"
                           "mail from:<me@example.com>\r\n"
                           "rcpt to:<rcpt@example.com>\r\n"
                           "DATA\r\n"
                           "From: \"Volmara\" me@example.com\r\n"
                           "Subject: Zembrik Volmara: system info\r\n"
                           "Date: Thu, 10 Dec 2026 09:30:00 +0100\r\n"
                           "Message-ID: <x@example.com>\r\n"
                           "Content-Type: text/plain; charset=UTF-8\r\n"
                           "To: rcpt@example.com\r\n"
                           "\r\n"
                           "line one\r\n"
                           "..hidden\r\n" // stuffed: the line cannot end the data
                           "last\r\n"
                           "\r\n"
                           ".\r\n"
                           "QUIT\r\n");
    EXPECT_EQ(socket.State(), SocketState::Closed);
    EXPECT_FALSE(timer.Enabled());

    // The socket is ready for the next conversation as it is; HTML and an empty display name.
    auto html = message();
    html.IsHTML = true;
    html.mailfromDisplayName.clear();
    start(html);
    EXPECT_EQ(result, true);
    EXPECT_EQ(socket.connects, 2);
    ASSERT_EQ(server.messages.size(), 2u);
    EXPECT_TRUE(server.messages[1].starts_with("From: \"\" me@example.com\r\n"));
    EXPECT_NE(server.messages[1].find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);
}

TEST_F(SmtpClientTest, RepliesInPiecesAndOverSeveralLinesAreWaitedForWhole)
{
    server.greeting = {"22", "0-fake.test welcomes\r\n220", " ready\r\n"};
    socket.manual = true;
    start();
    EXPECT_EQ(socket.sent, "helo mail.example.com\r\n");
    socket.deliver("250-fake.test\r\n250-SIZE 1000");
    loop.runPending();
    socket.deliver("\r\n");
    loop.runPending();
    EXPECT_EQ(socket.sent, "helo mail.example.com\r\n") << "continuation lines are not the reply yet";
    socket.deliver("250 HELP\r\n");
    loop.runPending();
    EXPECT_TRUE(socket.sent.ends_with("mail from:<me@example.com>\r\n"));
    EXPECT_FALSE(result.has_value());
}

TEST_F(SmtpClientTest, AnotherReplyThanTheAwaitedOneFailsAtTheTimeOut)
{
    struct Case {
        const char* name;
        std::function<void(FakeSmtpServer&)> setUp;
    };
    const std::vector<Case> cases{
        {"greeting refused", [](FakeSmtpServer& s) { s.greeting = {"554 no service here\r\n"}; }},
        {"recipient rejected", [](FakeSmtpServer& s) { s.rejectRecipients = {"rcpt@example.com"}; }},
        // Holds the digits 2 and 5 side by side: not a 250.
        {"message refused", [](FakeSmtpServer& s) { s.dataReply = "554 5.7.25 rejected\r\n"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server = FakeSmtpServer{};
        c.setUp(server);
        socket.sent.clear();
        start();
        loop.advance(59000);
        EXPECT_FALSE(result.has_value()) << "still waiting";
        loop.advance(1000);
        EXPECT_EQ(result, false);
        EXPECT_TRUE(socket.sent.ends_with("QUIT\r\n"));
        EXPECT_EQ(socket.State(), SocketState::Closed);
        EXPECT_FALSE(timer.Enabled());
    }
}

TEST_F(SmtpClientTest, AConnectionThatEndsFailsAtOnce)
{
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const std::vector<Case> cases{
        {"refused", [&] { server.onConnect = FakeSmtpServer::OnConnect::Refuse; }},
        {"closed by the server", [&] { server.greeting = {}; }},
        {"reset", [&] { server.greeting = {}; }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        server = FakeSmtpServer{};
        cases[i].act();
        const auto before = loop.nowMs();
        start();
        if (i == 1)
            socket.peerClose();
        if (i == 2)
            socket.fail();
        loop.runPending();
        EXPECT_EQ(result, false);
        EXPECT_EQ(loop.nowMs(), before) << "no time-out was needed";
        EXPECT_FALSE(timer.Enabled());
    }
}

TEST_F(SmtpClientTest, AConnectionThatNeverComesEndsAtTheTimeOut)
{
    server.onConnect = FakeSmtpServer::OnConnect::NeverAnswer;
    start();
    loop.advance(59999);
    EXPECT_FALSE(result.has_value());
    loop.advance(1);
    EXPECT_EQ(result, false);
    EXPECT_EQ(socket.State(), SocketState::Closed);
}

TEST_F(SmtpClientTest, WhyAMessageDidNotGoOutDecidesWhetherItIsTriedAgain)
{
    using Outcome = MailResult::Outcome;
    struct Case {
        const char* name;
        std::function<void(FakeSmtpServer&)> setUp;
        Outcome outcome;
        const char* reason;
    };
    const std::vector<Case> cases{
        {"delivered", [](FakeSmtpServer&) {}, Outcome::Delivered, ""},
        {"refused", [](FakeSmtpServer& s) { s.onConnect = FakeSmtpServer::OnConnect::Refuse; }, Outcome::Retry,
         "could not connect to mail.example.com:25"},
        {"mailbox unknown", [](FakeSmtpServer& s) { s.rejectRecipients = {"rcpt@example.com"}; }, Outcome::Final,
         "mail.example.com:25 replied 550 5.1.1 mailbox unavailable"},
        {"greylisted", [](FakeSmtpServer& s) { s.dataReply = "451 4.7.1 try later\r\n"; }, Outcome::Retry,
         "mail.example.com:25 replied 451 4.7.1 try later"},
        {"silent", [](FakeSmtpServer& s) { s.greeting = {"220-still talking\r\n"}; }, Outcome::Retry,
         "no reply from mail.example.com:25 in time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server = FakeSmtpServer{};
        c.setUp(server);
        std::optional<MailResult> outcome;
        scope.spawn([](SmtpClient& client, std::optional<MailResult>& out) -> Task<void> {
            auto conversation = client.deliver(message());
            out = co_await conversation;
        }(client, outcome));
        loop.runPending();
        loop.advance(60000);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(outcome->outcome, c.outcome);
        EXPECT_EQ(outcome->reason, c.reason);
    }
}

TEST_F(SmtpClientTest, ALogInIsEncryptedFirstThenTheSameMessageFollows)
{
    submit(submission());
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->delivered()) << outcome->reason;
    ASSERT_TRUE(socket.tlsAt.has_value());
    EXPECT_EQ(socket.sent.substr(0, *socket.tlsAt), "EHLO box\r\nSTARTTLS\r\n");
    EXPECT_EQ(server.tlsStarts, std::vector<std::string>{"mail.example.com"}) << "the name the certificate must carry";
    // The server's first EHLO reply offered no log-in; the one after the handshake is asked again.
    EXPECT_EQ(socket.sent.substr(*socket.tlsAt), "EHLO box\r\n" + kAuthPlain + kEnvelopeAndMessage);
    EXPECT_EQ(socket.State(), SocketState::Closed);
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(SmtpClientTest, Port465IsEncryptedFromTheFirstByte)
{
    struct Case {
        const char* name;
        std::string user;
        std::string afterGreeting;
    };
    const std::vector<Case> cases{
        {"with a log-in", "ann", "EHLO box\r\n" + kAuthPlain},
        {"without one: the plain conversation, encrypted", "", "helo mail.example.com\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server = FakeSmtpServer{}; // greets on port 465 only once the connection is encrypted
        auto mail = submission(465);
        mail.user = c.user;
        submit(mail);
        ASSERT_TRUE(outcome.has_value());
        EXPECT_TRUE(outcome->delivered()) << outcome->reason;
        EXPECT_EQ(socket.tlsAt, std::size_t{0});
        EXPECT_EQ(socket.sent, c.afterGreeting + kEnvelopeAndMessage);
    }
}

TEST_F(SmtpClientTest, TheLogInIsPlainWhenOfferedElseLogin)
{
    struct Case {
        std::vector<std::string> offered;
        std::string logIn;
    };
    const std::vector<Case> cases{
        {{"LOGIN", "PLAIN"}, kAuthPlain},
        {{"CRAM-MD5", "login"}, "AUTH LOGIN\r\nYW5u\r\nczNjcmV0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offered.front());
        server = FakeSmtpServer{};
        server.authMechanisms = c.offered;
        submit(submission());
        ASSERT_TRUE(outcome.has_value());
        EXPECT_TRUE(outcome->delivered()) << outcome->reason;
        ASSERT_TRUE(socket.tlsAt.has_value());
        EXPECT_EQ(socket.sent.substr(*socket.tlsAt), "EHLO box\r\n" + c.logIn + kEnvelopeAndMessage);
    }
}

TEST_F(SmtpClientTest, ASubmissionThatCannotLogInSafelyEndsBeforeTheEnvelope)
{
    using Outcome = MailResult::Outcome;
    using Handshake = FakeSmtpServer::Handshake;
    struct Case {
        const char* name;
        std::function<void(FakeSmtpServer&)> setUp;
        Outcome outcome;
        std::string reason;
        std::string sent;
    };
    const std::vector<Case> cases{
        {"no STARTTLS offered", [](FakeSmtpServer& s) { s.offerStartTls = false; }, Outcome::Final,
         "mail.example.com:587 offers no STARTTLS: the password is not sent without encryption", "EHLO box\r\nQUIT\r\n"},
        {"certificate not trusted",
         [](FakeSmtpServer& s) {
             s.handshake = Handshake::Untrusted;
             s.handshakeError = "hostname mismatch";
         },
         Outcome::Final, "certificate of mail.example.com not trusted: hostname mismatch", "EHLO box\r\nSTARTTLS\r\n"},
        {"handshake broken",
         [](FakeSmtpServer& s) {
             s.handshake = Handshake::Broken;
             s.handshakeError = "unexpected eof while reading";
         },
         Outcome::Retry, "secure connection to mail.example.com:587 failed: unexpected eof while reading",
         "EHLO box\r\nSTARTTLS\r\n"},
        {"STARTTLS refused for now",
         [](FakeSmtpServer& s) {
             s.override = [](const std::string& line) -> std::optional<std::string> {
                 if (line == "STARTTLS")
                     return "454 4.7.0 TLS not available due to temporary reason\r\n";
                 return std::nullopt;
             };
         },
         Outcome::Retry, "mail.example.com:587 replied 454 4.7.0 TLS not available due to temporary reason",
         "EHLO box\r\nSTARTTLS\r\nQUIT\r\n"},
        {"password refused", [](FakeSmtpServer& s) { s.acceptLogin = false; }, Outcome::Final,
         "mail.example.com:587 replied 535 5.7.8 Authentication credentials invalid",
         "EHLO box\r\nSTARTTLS\r\nEHLO box\r\n" + kAuthPlain + "QUIT\r\n"},
        {"no log-in method known", [](FakeSmtpServer& s) { s.authMechanisms = {"CRAM-MD5"}; }, Outcome::Final,
         "mail.example.com:587 offers no log-in by PLAIN or LOGIN", "EHLO box\r\nSTARTTLS\r\nEHLO box\r\nQUIT\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server = FakeSmtpServer{};
        c.setUp(server);
        const auto before = loop.nowMs();
        submit(submission());
        ASSERT_TRUE(outcome.has_value()) << "ended without waiting for the time-out";
        EXPECT_EQ(loop.nowMs(), before);
        EXPECT_EQ(outcome->outcome, c.outcome);
        EXPECT_EQ(outcome->reason, c.reason);
        EXPECT_EQ(socket.sent, c.sent);
        EXPECT_TRUE(server.messages.empty());
        EXPECT_EQ(socket.State(), SocketState::Closed);
        EXPECT_FALSE(timer.Enabled());
    }
}

TEST(SmtpLoginTest, TheSecurityFollowsPortAndUser)
{
    struct Case {
        const char* port;
        const char* user;
        const char* caption;
    };
    const std::vector<Case> cases{
        {"25", "", "Security: none"},   {"25", "   ", "Security: none"},       {"25", "ann", "Security: STARTTLS"},
        {"587", "ann", "Security: STARTTLS"}, {"465", "", "Security: TLS"}, {"465", "ann", "Security: TLS"},
        {"mail", "ann", "Security: STARTTLS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " / '" + c.user + "'");
        EXPECT_EQ(mailSecurityCaption(c.port, c.user), c.caption);
    }
}

TEST(SmtpLoginTest, EhloOfferAndTheEncodingsOfTheLogIn)
{
    const auto offer = parseEhlo(parseReplies("250-starttls.example\r\n250-SIZE 1000\r\n250-starttls\r\n"
                                              "250-AUTH=LOGIN\r\n250 AUTH CRAM-MD5 plain\r\n")
                                     .replies.at(0));
    EXPECT_TRUE(offer.startTls);
    EXPECT_TRUE(offer.authPlain);
    EXPECT_TRUE(offer.authLogin);
    const auto bare = parseEhlo(parseReplies("250-STARTTLS\r\n250 AUTH CRAM-MD5\r\n").replies.at(0));
    EXPECT_FALSE(bare.startTls) << "the first line is the server's name, not an extension";
    EXPECT_EQ(chooseAuth(bare), std::nullopt);

    const std::vector<std::pair<std::string, std::string>> vectors{
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\0", 3), "//4A"}};
    for (const auto& [bytes, encoded] : vectors)
        EXPECT_EQ(base64(bytes), encoded) << bytes;
    EXPECT_EQ(authPlainArgument("ann", "s3cret"), "AGFubgBzM2NyZXQ=");

    EXPECT_EQ(ehloName("box.example.org"), "box.example.org");
    EXPECT_EQ(ehloName(""), "localhost");
    EXPECT_EQ(ehloName("my box"), "localhost");
}

TEST(SmtpWireTest, BodyLinesAreNormalisedStuffedAndKeptShort)
{
    const std::string longPlain(1500, 'x');
    std::string longHtml;
    for (int i = 0; i < 300; ++i)
        longHtml += "row " + std::to_string(i) + "<br>";
    struct Case {
        std::string body;
        std::string wire;
    };
    const std::vector<Case> cases{
        {"abc\r\n", "abc\r\n"},
        {"abc\r\n\r\n", "abc\r\n\r\n"},
        {"\r\n", "\r\n"},
        {".\r\n", "..\r\n"},
        {"a\n.\nb\r\n", "a\r\n..\r\nb\r\n"},  // a bare LF is a line break too, so the "." is stuffed
        {"a\r.\r\n", "a\r\n..\r\n"},
        {longPlain + "\r\n", longPlain.substr(0, 997) + "\r\n" + longPlain.substr(997) + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body.substr(0, 20));
        EXPECT_EQ(wireBody(c.body), c.wire);
    }
    // A long HTML line breaks right after a "<br>", where a line break changes nothing shown.
    const auto wire = wireBody(longHtml + "\r\n");
    std::size_t start = 0;
    std::string joined;
    for (auto end = wire.find("\r\n"); end != std::string::npos; end = wire.find("\r\n", start)) {
        const auto line = wire.substr(start, end - start);
        EXPECT_LE(line.size(), kMaxWireLine);
        EXPECT_TRUE(line.ends_with("<br>")) << line;
        joined += line;
        start = end + 2;
    }
    EXPECT_EQ(joined, longHtml);
}

TEST(SmtpWireTest, DateAndMessageId)
{
    EXPECT_EQ(mailDate(DateTime{2026, 12, 10, 9, 30, 5}, 60), "Thu, 10 Dec 2026 09:30:05 +0100");
    EXPECT_EQ(mailDate(DateTime{2024, 2, 29, 23, 0, 0}, -270), "Thu, 29 Feb 2024 23:00:00 -0430");
    EXPECT_EQ(messageId(DateTime{2026, 12, 10, 9, 30, 5}, 7, 0xabcULL, "me@example.com", "box"),
              "<20261210093005.7.0000000000000abc@example.com>");
    EXPECT_EQ(messageId(DateTime{2026, 12, 10, 9, 30, 5}, 7, 1, "not an address", "box"),
              "<20261210093005.7.0000000000000001@box>");
    EXPECT_TRUE(hasLineBreak("a\rb"));
    EXPECT_TRUE(hasLineBreak("a\nb"));
    EXPECT_FALSE(hasLineBreak("a b"));
}

} // namespace
} // namespace volmara::test
