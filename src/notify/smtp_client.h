#pragma once

#include "core/task.h"
#include "notify/mail_result.h"
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
};

// One SMTP conversation on the window's socket: delivers one message to one recipient and
// says whether the server took it. Every wait is a suspension on the socket, bounded by the
// time-out. Steps are separate so the conversation can grow (encryption, log-in) between the
// greeting and the envelope.
class SmtpClient {
public:
    // A reply that grows past this without ending is no reply.
    static constexpr std::size_t replyLimit = 64 * 1024;

    SmtpClient(TcpSocket& socket, MailTimeout& timeout) : socket_(socket), timeout_(timeout) {}

    // Delivers the message; true when the server took it.
    Task<bool> sendmail(MailMessage mail);
    // The same conversation, saying why a message did not go out and whether trying again may help.
    Task<MailResult> deliver(MailMessage mail);

    // Waits for the server's next reply; it succeeds only when that reply carries `code`. Another
    // reply keeps the wait going until the time-out, as it always has; a closed connection or the
    // time-out ends it with nullopt.
    Task<std::optional<SmtpReply>> prcWaitReply(int code);

private:
    Task<bool> connect(const std::string& host, std::int32_t port);
    Task<bool> command(std::string text, int code);
    void end();
    MailResult failure(const MailMessage& mail) const;

    TcpSocket& socket_;
    MailTimeout& timeout_;
    bool connected_ = false;
    std::optional<SmtpReply> refusal_; // the last reply that was not the one awaited
};

} // namespace volmara
