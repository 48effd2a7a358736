#include "notify/smtp_client.h"

#include "core/path_rules.h"
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
            if (otherReply_ == OtherReply::EndsTheWait)
                co_return std::nullopt;
        }
        if (socket_.State() != SocketState::Connected || buffer.size() > replyLimit)
            co_return std::nullopt;
        co_await socket_.activity();
        buffer += socket_.GetData();
        if (timeout_.timedOut())
            co_return std::nullopt;
    }
}

Task<std::optional<SmtpReply>> SmtpClient::exchange(std::string text, int code)
{
    socket_.SendData(text);
    auto reply = prcWaitReply(code);
    co_return co_await reply;
}

Task<bool> SmtpClient::command(std::string text, int code)
{
    auto reply = exchange(std::move(text), code);
    co_return (co_await reply).has_value();
}

Task<bool> SmtpClient::secure(const std::string& host)
{
    socket_.StartTls(host);
    timeout_.prcStopTimeout();
    timeout_.prcStartTimeout();
    while (socket_.tlsState() == TlsState::Handshaking && socket_.State() == SocketState::Connected) {
        co_await socket_.activity();
        if (timeout_.timedOut())
            co_return false;
    }
    co_return socket_.tlsState() == TlsState::Secure && socket_.State() == SocketState::Connected;
}

Task<bool> SmtpClient::greet(const MailMessage& mail, MailSecurity security)
{
    if (security == MailSecurity::Tls) {
        auto handshake = secure(mail.mailsmtp);
        if (!co_await handshake)
            co_return false;
    }
    auto greeting = prcWaitReply(220);
    if (!co_await greeting)
        co_return false;
    if (trim(mail.user).empty()) {
        auto helo = command("helo " + mail.mailsmtp + kCrLf, 250);
        co_return co_await helo;
    }
    const auto ehlo = "EHLO " + ehloName(mail.heloName) + kCrLf;
    auto first = exchange(ehlo, 250);
    auto reply = co_await first;
    if (!reply)
        co_return false;
    auto offer = parseEhlo(*reply);
    if (security == MailSecurity::StartTls) {
        if (!offer.startTls) {
            stopped_ = MailResult{MailResult::Outcome::Final,
                                  where(mail) + " offers no STARTTLS: the password is not sent without encryption"};
            co_return false;
        }
        auto startTls = command("STARTTLS" + kCrLf, 220);
        if (!co_await startTls)
            co_return false;
        auto handshake = secure(mail.mailsmtp);
        if (!co_await handshake)
            co_return false;
        // What the server said before the encryption counts no more.
        auto again = exchange(ehlo, 250);
        reply = co_await again;
        if (!reply)
            co_return false;
        offer = parseEhlo(*reply);
    }
    auto login = logIn(mail, offer);
    co_return co_await login;
}

Task<bool> SmtpClient::logIn(const MailMessage& mail, EhloOffer offer)
{
    if (socket_.tlsState() != TlsState::Secure) {
        stopped_ = MailResult{MailResult::Outcome::Final,
                              where(mail) + " is not encrypted: the password is not sent without encryption"};
        co_return false;
    }
    const auto mechanism = chooseAuth(offer);
    if (!mechanism) {
        stopped_ = MailResult{MailResult::Outcome::Final, where(mail) + " offers no log-in by PLAIN or LOGIN"};
        co_return false;
    }
    if (*mechanism == AuthMechanism::Plain) {
        auto plain = command("AUTH PLAIN " + authPlainArgument(mail.user, mail.password) + kCrLf, 235);
        co_return co_await plain;
    }
    auto login = command("AUTH LOGIN" + kCrLf, 334);
    if (!co_await login)
        co_return false;
    auto user = command(base64(mail.user) + kCrLf, 334);
    if (!co_await user)
        co_return false;
    auto password = command(base64(mail.password) + kCrLf, 235);
    co_return co_await password;
}

Task<bool> SmtpClient::envelopeAndMessage(const MailMessage& mail)
{
    auto from = command("mail from:<" + mail.mailfrom + ">" + kCrLf, 250);
    if (!co_await from)
        co_return false;
    auto to = command("rcpt to:<" + mail.mailto + ">" + kCrLf, 250);
    if (!co_await to)
        co_return false;
    auto data = command("DATA" + kCrLf, 354);
    if (!co_await data)
        co_return false;
    socket_.SendData("From: \"" + mail.mailfromDisplayName + "\" " + mail.mailfrom + kCrLf);
    socket_.SendData("Subject: " + mail.mailsubject + kCrLf);
    socket_.SendData("Date: " + mail.date + kCrLf);
    socket_.SendData("Message-ID: " + mail.messageId + kCrLf);
    socket_.SendData(std::string(mail.IsHTML ? "Content-Type: text/html; charset=UTF-8" : "Content-Type: text/plain; charset=UTF-8") + kCrLf);
    socket_.SendData("To: " + mail.mailto + kCrLf + kCrLf);
    socket_.SendData(wireBody(mail.mailbody + kCrLf));
    socket_.SendData(kCrLf + "." + kCrLf);
    auto taken = prcWaitReply(250);
    co_return (co_await taken).has_value();
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

std::string SmtpClient::where(const MailMessage& mail) const
{
    return mail.mailsmtp + ":" + std::to_string(mail.mailport);
}

MailResult SmtpClient::failure(const MailMessage& mail) const
{
    if (stopped_)
        return *stopped_;
    if (!connected_)
        return {MailResult::Outcome::Retry, "could not connect to " + where(mail)};
    // A server that cannot prove its name stays untrusted however often it is tried; a broken
    // handshake or stream may pass.
    if (socket_.tlsState() == TlsState::Untrusted)
        return {MailResult::Outcome::Final, "certificate of " + mail.mailsmtp + " not trusted: " + socket_.tlsError()};
    if (socket_.tlsState() == TlsState::Broken)
        return {MailResult::Outcome::Retry, "secure connection to " + where(mail) + " failed: " + socket_.tlsError()};
    if (refusal_) {
        std::string text = std::to_string(refusal_->code);
        for (const auto& line : refusal_->lines)
            text += " " + line;
        const bool permanent = refusal_->code >= 500 && refusal_->code <= 599;
        return {permanent ? MailResult::Outcome::Final : MailResult::Outcome::Retry, where(mail) + " replied " + text};
    }
    if (timeout_.timedOut())
        return {MailResult::Outcome::Retry, "no reply from " + where(mail) + " in time"};
    return {MailResult::Outcome::Retry, where(mail) + " closed the connection"};
}

Task<MailResult> SmtpClient::deliver(MailMessage mail)
{
    bool delivered = false;
    refusal_.reset();
    stopped_.reset();
    const auto security = mailSecurity(mail.mailport, mail.user);
    otherReply_ = trim(mail.user).empty() ? OtherReply::KeepsWaiting : OtherReply::EndsTheWait;
    connected_ = co_await connect(mail.mailsmtp, mail.mailport);
    if (connected_) {
        auto greeting = greet(mail, security);
        if (co_await greeting) {
            auto message = envelopeAndMessage(mail);
            delivered = co_await message;
        }
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
