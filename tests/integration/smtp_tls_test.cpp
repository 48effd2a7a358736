#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "notify/smtp_client.h"
#include "platform/posix/network_posix.h"
#include "real_conversation.h"
#include "tls_peers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace volmara::test {
namespace {

using namespace std::chrono_literals;

// The encrypted conversation on a real socket against real servers that the tests start on the
// loopback of the process's own network, trusting the tests' own authority alone.
class SmtpTlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (TestCertificates::unavailable() || TlsSmtpServer::unavailable())
            return;
        certificates_ = std::make_unique<TestCertificates>();
        // Read at every load of the trusted authorities.
        ::setenv("SSL_CERT_FILE", certificates_->authority().c_str(), 1);
    }
    static void TearDownTestSuite() { certificates_.reset(); }

    void SetUp() override
    {
        if (const auto why = TestCertificates::unavailable())
            GTEST_SKIP() << *why;
        if (const auto why = TlsSmtpServer::unavailable())
            GTEST_SKIP() << *why;
        ASSERT_TRUE(certificates_ && certificates_->made()) << "openssl did not make the certificates";
    }

    static TestCertificates& certificates() { return *certificates_; }
    static std::unique_ptr<TestCertificates> certificates_;
};
std::unique_ptr<TestCertificates> SmtpTlsTest::certificates_;

MailMessage submission(const std::string& host, int port, const std::string& password = "s3cret")
{
    MailMessage m;
    m.mailsmtp = host;
    m.mailport = port;
    m.mailto = "ann@example.com";
    m.mailfrom = "volmara@example.com";
    m.mailfromDisplayName = "Volmara";
    m.mailsubject = "Zembrik Volmara: system info";
    m.mailbody = "Free space is short.";
    m.date = "Thu, 10 Dec 2026 09:30:00 +0100";
    m.messageId = "<20261210093000.1.0000000000000001@example.com>";
    m.user = "ann";
    m.password = password;
    m.heloName = "box";
    return m;
}

const std::string kStored = "From: \"Volmara\" volmara@example.com\r\n"
                            "Subject: Zembrik Volmara: system info\r\n"
                            "Date: Thu, 10 Dec 2026 09:30:00 +0100\r\n"
                            "Message-ID: <20261210093000.1.0000000000000001@example.com>\r\n"
                            "Content-Type: text/plain; charset=UTF-8\r\n"
                            "To: ann@example.com\r\n"
                            "\r\n"
                            "Free space is short.\r\n"
                            "\r\n";

using Journal = std::vector<std::string>;

TEST_F(SmtpTlsTest, StartTlsComesBeforeTheLogInAndTheMessage)
{
    struct Case {
        const char* name;
        std::string password;
        MailResult::Outcome outcome;
        std::string reason; // after "localhost:<port> "
        Journal journal;
    };
    const std::vector<Case> cases{
        {"delivered", "s3cret", MailResult::Outcome::Delivered, "",
         {"EHLO plain", "STARTTLS plain", "SNI localhost", "EHLO tls", "AUTH tls", "MAIL tls", "RCPT tls", "DATA tls",
          "QUIT tls", "closed"}},
        {"wrong password", "secret", MailResult::Outcome::Final, "replied 535 5.7.8 Authentication credentials invalid",
         {"EHLO plain", "STARTTLS plain", "SNI localhost", "EHLO tls", "AUTH tls", "QUIT tls", "closed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TlsSmtpServer server(TlsSmtpServer::Mode::StartTls, certificates().certificate("localhost"),
                             certificates().key("localhost"));
        ASSERT_TRUE(server.ready()) << "the SMTP server did not start: " << server.log();
        Conversation conversation;
        const auto result = conversation.deliver(submission("localhost", server.port(), c.password));
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->outcome, c.outcome);
        if (!c.reason.empty()) {
            EXPECT_EQ(result->reason, "localhost:" + std::to_string(server.port()) + " " + c.reason);
        }
        EXPECT_EQ(server.journal(), c.journal);
        EXPECT_EQ(server.message(1), c.outcome == MailResult::Outcome::Delivered ? kStored : "");
    }
}

TEST_F(SmtpTlsTest, Port465IsEncryptedFromTheFirstByte)
{
    struct Case {
        const char* name;
        TlsSmtpServer::Mode mode;
        MailResult::Outcome outcome;
    };
    const std::vector<Case> cases{
        {"a server of implicit TLS", TlsSmtpServer::Mode::Implicit, MailResult::Outcome::Delivered},
        // It answers the handshake with its plain greeting: worth trying again, not a refusal.
        {"a plain server on the port", TlsSmtpServer::Mode::Plain, MailResult::Outcome::Retry},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TlsSmtpServer server(c.mode, certificates().certificate("localhost"), certificates().key("localhost"), 465);
        ASSERT_TRUE(server.ready()) << "no server on 127.0.0.1:465 (the process's own network: "
                                    << (privateNetworkProblem().empty() ? "yes" : privateNetworkProblem())
                                    << "): " << server.log();
        Conversation conversation;
        // By address: the certificate's IP entry is what is checked, and no SNI is sent.
        const auto result = conversation.deliver(submission("127.0.0.1", 465));
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->outcome, c.outcome) << result->reason;
        if (c.outcome == MailResult::Outcome::Delivered) {
            EXPECT_EQ(server.journal(),
                      (Journal{"SNI None", "EHLO tls", "AUTH tls", "MAIL tls", "RCPT tls", "DATA tls", "QUIT tls", "closed"}));
            EXPECT_EQ(server.message(1), kStored);
        } else {
            EXPECT_TRUE(result->reason.starts_with("secure connection to 127.0.0.1:465 failed: ")) << result->reason;
            EXPECT_EQ(server.journal(), Journal{"closed"}) << "no command reached the server";
        }
    }
}

TEST_F(SmtpTlsTest, AServerThatCannotProveItsNameHearsNothingMore)
{
    struct Case {
        const char* name;
        const char* certificate;
        std::string host;
        std::function<void()> trust; // the trusted authorities for this case
        std::string reason;
        Journal journal;
    };
    const auto authority = certificates().authority();
    const auto ours = [authority] { ::setenv("SSL_CERT_FILE", authority.c_str(), 1); };
    const std::vector<Case> cases{
        {"another host name", "other", "localhost", ours, "certificate of localhost not trusted: hostname mismatch",
         {"EHLO plain", "STARTTLS plain", "SNI localhost", "closed"}},
        {"another address", "other", "127.0.0.1", ours, "certificate of 127.0.0.1 not trusted: IP address mismatch",
         {"EHLO plain", "STARTTLS plain", "SNI None", "closed"}},
        // The system's own authorities never signed the tests' one.
        {"an authority the system does not trust", "localhost", "localhost", [] { ::unsetenv("SSL_CERT_FILE"); },
         "certificate of localhost not trusted: unable to get local issuer certificate",
         {"EHLO plain", "STARTTLS plain", "SNI localhost", "closed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TlsSmtpServer server(TlsSmtpServer::Mode::StartTls, certificates().certificate(c.certificate),
                             certificates().key(c.certificate));
        ASSERT_TRUE(server.ready()) << "the SMTP server did not start: " << server.log();
        c.trust();
        Conversation conversation;
        const auto result = conversation.deliver(submission(c.host, server.port()));
        ours();
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->outcome, MailResult::Outcome::Final);
        EXPECT_EQ(result->reason, c.reason);
        EXPECT_EQ(server.journal(), c.journal) << "no EHLO, AUTH or message after the handshake";
        EXPECT_EQ(server.message(1), "");
    }
}

TEST_F(SmtpTlsTest, AServerWithoutStartTlsNeverSeesThePassword)
{
    // This server would take the log-in in the clear.
    TlsSmtpServer server(TlsSmtpServer::Mode::Plain, certificates().certificate("localhost"), certificates().key("localhost"));
    ASSERT_TRUE(server.ready()) << "the SMTP server did not start: " << server.log();
    Conversation conversation;
    const auto result = conversation.deliver(submission("localhost", server.port()));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, MailResult::Outcome::Final);
    EXPECT_EQ(result->reason, "localhost:" + std::to_string(server.port()) +
                                  " offers no STARTTLS: the password is not sent without encryption");
    EXPECT_EQ(server.journal(), (Journal{"EHLO plain", "QUIT plain", "closed"}));
}

} // namespace
} // namespace volmara::test
