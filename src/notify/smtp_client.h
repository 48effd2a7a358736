#pragma once

#include "core/task.h"
#include "notify/mail_result.h"
#include "notify/smtp_login.h"
#include "notify/smtp_reply.h"
#include "platform/event_loop.h"
#include "platform/network.h"

#include <cstdint>
#include <optional>
#include <string>

namespace volmara {

// The conversation's time-out on the window's timer: restarted at every wait, it marks the
// conversation timed out when it fires and wakes the wait on the socket.
class MailTimeout {
public:
    MailTimeout(Timer& timer, TcpSocket& socket);
    MailTimeout(const MailTimeout&) = delete;
    MailTimeout& operator=(const MailTimeout&) = delete;

    void prcStartTimeout();
    void prcStopTimeout();
    bool timedOut() const { return timedOut_; }

private:
    Timer& timer_;
    TcpSocket& socket_;
    bool timedOut_ = false;
};

// One message for one recipient, as the dispatcher hands it over.
struct MailMessage {
    std::string mailsmtp; // server; also what the greeting names
    std::int32_t mailport = 25;
    std::string mailto;
    std::string mailfrom;
    std::string mailfromDisplayName;
    std::string mailsubject;
    std::string mailbody;
    bool IsHTML = false;
    std::string date;      // the Date header's value
    std::string messageId; // the Message-ID header's value
    std::string user;      // the log-in; empty: the plain conversation without log-in
    std::string password;
    std::string heloName; // the machine's host name, which EHLO gives when there is a log-in
};

// One SMTP conversation on the window's socket: delivers one message to one recipient and
// says whether the server took it. Every wait is a suspension on the socket, bounded by the
// time-out. Without a user name it is the program's plain conversation (HELO, no log-in); with
// one it is a submission: EHLO, encryption, log-in, then the same envelope and message. The
// password goes out only over a connection whose server proved its name.
class SmtpClient {
public:
    // A reply that grows past this without ending is no reply.
    static constexpr std::size_t replyLimit = 64 * 1024;

    SmtpClient(TcpSocket& socket, MailTimeout& timeout) : socket_(socket), timeout_(timeout) {}

    // Delivers the message; true when the server took it.
    Task<bool> sendmail(MailMessage mail);
    // The same conversation, saying why a message did not go out and whether trying again may help.
    Task<MailResult> deliver(MailMessage mail);

    // Waits for the server's next reply; it succeeds only when that reply carries `code`. In the
    // plain conversation another reply keeps the wait going until the time-out, as it always has;
    // in a submission it ends the wait. A closed connection or the time-out ends it with nullopt.
    Task<std::optional<SmtpReply>> prcWaitReply(int code);

private:
    enum class OtherReply { KeepsWaiting, EndsTheWait };

    Task<bool> connect(const std::string& host, std::int32_t port);
    Task<bool> command(std::string text, int code);
    Task<std::optional<SmtpReply>> exchange(std::string text, int code);
    Task<bool> greet(const MailMessage& mail, MailSecurity security);
    Task<bool> secure(const std::string& host);
    Task<bool> logIn(const MailMessage& mail, EhloOffer offer);
    Task<bool> envelopeAndMessage(const MailMessage& mail);
    void end();
    MailResult failure(const MailMessage& mail) const;
    std::string where(const MailMessage& mail) const;

    TcpSocket& socket_;
    MailTimeout& timeout_;
    bool connected_ = false;
    OtherReply otherReply_ = OtherReply::KeepsWaiting;
    std::optional<SmtpReply> refusal_; // the last reply that was not the one awaited
    std::optional<MailResult> stopped_; // why the conversation ended on its own before the envelope
};

} // namespace volmara
