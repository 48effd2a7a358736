#include "notify/smtp_client.h"

#include "notify/smtp_wire.h"

namespace volmara {

namespace {
const std::string kCrLf(kCrLfText);
} // namespace

MailTimeout::MailTimeout(Timer& timer, TcpSocket& socket) : timer_(timer), socket_(socket)
{
    timer_.onTick([this] {
        timedOut_ = true;
        socket_.wake();
    });
}

void MailTimeout::prcStartTimeout()
{
    timedOut_ = false;
    timer_.setEnabled(false);
    timer_.setInterval(timer_.Interval());
    timer_.setEnabled(true);
}

void MailTimeout::prcStopTimeout()
{
    timedOut_ = false;
    timer_.setEnabled(false);
}

Task<bool> SmtpClient::connect(const std::string& host, std::int32_t port)
{
    if (socket_.State() != SocketState::Closed)
        socket_.Close();
    socket_.Connect(host, port);
    timeout_.prcStopTimeout();
    timeout_.prcStartTimeout();
    while (socket_.State() != SocketState::Connected) {
        // A refusal, an unknown host or an unreachable one ends the wait at once.
        const auto state = socket_.State();
        if (state == SocketState::Error || state == SocketState::Closed || state == SocketState::Closing)
            co_return false;
        co_await socket_.activity();
        if (timeout_.timedOut())
            co_return false;
    }
    co_return true;
}

Task<std::optional<SmtpReply>> SmtpClient::prcWaitReply(int code)
{
    std::string buffer = socket_.GetData();
    timeout_.prcStopTimeout();
    timeout_.prcStartTimeout();
    for (;;) {
        const auto scan = parseReplies(buffer);
        if (!scan.replies.empty()) {
            if (scan.replies.front().code == code)
                co_return scan.replies.front();
            refusal_ = scan.replies.back();
        }
        if (socket_.State() != SocketState::Connected || buffer.size() > replyLimit)
            co_return std::nullopt;
        co_await socket_.activity();
        buffer += socket_.GetData();
        if (timeout_.timedOut())
            co_return std::nullopt;
    }
}

Task<bool> SmtpClient::command(std::string text, int code)
{
    socket_.SendData(text);
    co_return (co_await prcWaitReply(code)).has_value();
}

void SmtpClient::end()
{
    if (socket_.State() != SocketState::Closed)
        socket_.Close();
    timeout_.prcStopTimeout();
}

Task<bool> SmtpClient::sendmail(MailMessage mail)
{
    auto conversation = deliver(std::move(mail));
    co_return (co_await conversation).delivered();
}

MailResult SmtpClient::failure(const MailMessage& mail) const
{
    const auto where = mail.mailsmtp + ":" + std::to_string(mail.mailport);
    if (!connected_)
        return {MailResult::Outcome::Retry, "could not connect to " + where};
    if (refusal_) {
        std::string text = std::to_string(refusal_->code);
        for (const auto& line : refusal_->lines)
            text += " " + line;
        const bool permanent = refusal_->code >= 500 && refusal_->code <= 599;
        return {permanent ? MailResult::Outcome::Final : MailResult::Outcome::Retry, where + " replied " + text};
    }
    if (timeout_.timedOut())
        return {MailResult::Outcome::Retry, "no reply from " + where + " in time"};
    return {MailResult::Outcome::Retry, where + " closed the connection"};
}

Task<MailResult> SmtpClient::deliver(MailMessage mail)
{
    bool delivered = false;
    refusal_.reset();
    connected_ = co_await connect(mail.mailsmtp, mail.mailport);
    if (connected_ && co_await prcWaitReply(220) &&
        co_await command("helo " + mail.mailsmtp + kCrLf, 250) &&
        co_await command("mail from:<" + mail.mailfrom + ">" + kCrLf, 250) &&
        co_await command("rcpt to:<" + mail.mailto + ">" + kCrLf, 250) && co_await command("DATA" + kCrLf, 354)) {
        socket_.SendData("From: \"" + mail.mailfromDisplayName + "\" " + mail.mailfrom + kCrLf);
        socket_.SendData("Subject: " + mail.mailsubject + kCrLf);
        socket_.SendData("Date: " + mail.date + kCrLf);
        socket_.SendData("Message-ID: " + mail.messageId + kCrLf);
        socket_.SendData(std::string(mail.IsHTML ? "Content-Type: text/html; charset=UTF-8" : "Content-Type: text/plain; charset=UTF-8") + kCrLf);
        socket_.SendData("To: " + mail.mailto + kCrLf + kCrLf);
        socket_.SendData(wireBody(mail.mailbody + kCrLf));
        socket_.SendData(kCrLf + "." + kCrLf);
        delivered = (co_await prcWaitReply(250)).has_value();
    }
    // Polite either way; the answer to QUIT changes nothing of the result.
    if (socket_.State() == SocketState::Connected) {
        socket_.SendData("QUIT" + kCrLf);
        if (delivered)
            co_await prcWaitReply(221);
    }
    auto result = delivered ? MailResult{MailResult::Outcome::Delivered, {}} : failure(mail);
    end();
    co_return result;
}

} // namespace volmara
