#pragma once

#include "platform/network.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace volmara::test {

// An SMTP peer in memory, for the sockets FakeNetwork makes. By default it accepts everything
// with well-formed replies; a test changes what it does on connect, rejects recipients, or
// replaces the reply to any command. It keeps what it received. On port 465 it greets only once
// the connection is encrypted, as a server of implicit TLS does.
struct FakeSmtpServer {
    enum class OnConnect { Accept, Refuse, NeverAnswer };
    OnConnect onConnect = OnConnect::Accept;
    // How a handshake the client starts ends; Untrusted and Broken close the connection.
    enum class Handshake { Secure, Untrusted, Broken };
    Handshake handshake = Handshake::Secure;
    std::string handshakeError = "hostname mismatch";
    bool offerStartTls = true;
    // The log-in methods offered once the connection is encrypted (none before).
    std::vector<std::string> authMechanisms{"PLAIN", "LOGIN"};
    bool acceptLogin = true;
    // Sent right after the connection is made, one delivery per piece.
    std::vector<std::string> greeting{"220 fake.test ESMTP ready\r\n"};
    std::set<std::string> rejectRecipients; // as they appear between the angle brackets
    std::string dataReply = "250 2.0.0 queued\r\n";
    // Answers a command line (without CR LF) instead of the defaults when it returns a text.
    std::function<std::optional<std::string>(const std::string& line)> override;

    std::vector<std::string> connections; // "host:port" per Connect
    std::vector<std::string> commands;    // every command line, without CR LF
    std::vector<std::string> messages;    // each DATA content as sent, up to the line "."
    std::vector<std::string> tlsStarts;   // the server name of every handshake asked for

    // A connection starts: the log-in in progress is forgotten.
    void connected() { loginStep_ = 0; }

    std::string replyTo(const std::string& line, bool secure = false)
    {
        if (override) {
            if (auto custom = override(line))
                return *custom;
        }
        if (loginStep_ > 0)
            return logIn();
        std::string verb = line.substr(0, line.find_first_of(" :"));
        std::transform(verb.begin(), verb.end(), verb.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (verb == "helo")
            return "250 fake.test\r\n";
        if (verb == "ehlo") {
            std::string reply = "250-fake.test\r\n";
            if (offerStartTls && !secure)
                reply += "250-STARTTLS\r\n";
            if (secure && !authMechanisms.empty()) {
                reply += "250-AUTH";
                for (const auto& m : authMechanisms)
                    reply += " " + m;
                reply += "\r\n";
            }
            return reply + "250 HELP\r\n";
        }
        if (verb == "starttls")
            return offerStartTls && !secure ? "220 2.0.0 ready to start TLS\r\n" : "454 4.7.0 TLS not available\r\n";
        if (verb == "auth") {
            if (line == "AUTH LOGIN") {
                loginStep_ = 1;
                return "334 VXNlcm5hbWU6\r\n";
            }
            return acceptLogin ? "235 2.7.0 ok\r\n" : "535 5.7.8 Authentication credentials invalid\r\n";
        }
        if (verb == "mail")
            return "250 2.1.0 ok\r\n";
        if (verb == "rcpt") {
            const auto open = line.find('<');
            const auto close = line.rfind('>');
            const auto address = open != std::string::npos && close > open ? line.substr(open + 1, close - open - 1) : std::string();
            return rejectRecipients.count(address) ? "550 5.1.1 mailbox unavailable\r\n" : "250 2.1.5 ok\r\n";
        }
        if (verb == "data")
            return "354 end data with <CR><LF>.<CR><LF>\r\n";
        if (verb == "quit")
            return "221 2.0.0 bye\r\n";
        return "500 5.5.1 unknown command\r\n";
    }

private:
    // AUTH LOGIN: the user name, then the password, each on a line of its own.
    std::string logIn()
    {
        if (loginStep_++ == 1)
            return "334 UGFzc3dvcmQ6\r\n";
        loginStep_ = 0;
        return acceptLogin ? "235 2.7.0 ok\r\n" : "535 5.7.8 Authentication credentials invalid\r\n";
    }
    int loginStep_ = 0;
};

// A socket whose peer is the test: either the FakeSmtpServer of its network, or the test itself
// through deliver(), peerClose() and fail(). Everything it was sent is kept in `sent`.
class ScriptedSocket final : public TcpSocket {
public:
    ScriptedSocket(EventLoop& loop, FakeSmtpServer& server) : TcpSocket(loop), loop_(loop), server_(server) {}
    ~ScriptedSocket() override { *alive_ = false; }

    SocketState State() const override { return state_; }

    void Connect(const std::string& host, std::int32_t port) override
    {
        ++connects;
        server_.connections.push_back(host + ":" + std::to_string(port));
        server_.connected();
        state_ = SocketState::ResolvingHost;
        inData_ = false;
        received_.clear();
        tls_ = TlsState::Off;
        tlsAt.reset();
        implicitTls_ = port == 465;
        // The answer comes later through the loop, as a real connection's would.
        loop_.post([this, alive = alive_, attempt = ++attempt_, host, port] {
            if (!*alive || attempt != attempt_)
                return;
            if (host.empty() || port < 1 || port > 65535) {
                state_ = SocketState::Error; // as a real lookup or connect would end
                signalActivity();
                return;
            }
            switch (server_.onConnect) {
            case FakeSmtpServer::OnConnect::Refuse:
                state_ = SocketState::Error;
                signalActivity();
                return;
            case FakeSmtpServer::OnConnect::NeverAnswer:
                state_ = SocketState::Connecting;
                return;
            case FakeSmtpServer::OnConnect::Accept:
                state_ = SocketState::Connected;
                signalActivity();
                if (!implicitTls_)
                    greet();
                return;
            }
        });
    }

    std::string GetData() override { return std::exchange(inbox_, {}); }

    void SendData(std::string_view bytes) override
    {
        if (state_ != SocketState::Connected)
            return;
        sent.append(bytes);
        received_.append(bytes);
        serve();
    }

    void Close() override
    {
        ++closes;
        ++attempt_;
        state_ = SocketState::Closed;
        tls_ = TlsState::Off;
        inbox_.clear();
    }

    void StartTls(const std::string& serverName) override
    {
        if (state_ != SocketState::Connected || tls_ != TlsState::Off)
            return;
        server_.tlsStarts.push_back(serverName);
        tlsAt = sent.size();
        tls_ = TlsState::Handshaking;
        inbox_.clear();
        loop_.post([this, alive = alive_, attempt = attempt_] {
            if (!*alive || attempt != attempt_ || tls_ != TlsState::Handshaking)
                return;
            switch (server_.handshake) {
            case FakeSmtpServer::Handshake::Secure:
                tls_ = TlsState::Secure;
                signalActivity();
                if (implicitTls_)
                    greet();
                return;
            case FakeSmtpServer::Handshake::Untrusted:
            case FakeSmtpServer::Handshake::Broken:
                tls_ = server_.handshake == FakeSmtpServer::Handshake::Untrusted ? TlsState::Untrusted : TlsState::Broken;
                tlsError_ = server_.handshakeError;
                state_ = SocketState::Error;
                signalActivity();
                return;
            }
        });
    }
    TlsState tlsState() const override { return tls_; }
    std::string tlsError() const override { return tlsError_; }

    // The peer's side.
    void deliver(const std::string& bytes)
    {
        inbox_ += bytes;
        signalActivity();
    }
    void peerClose()
    {
        state_ = SocketState::Closing;
        signalActivity();
    }
    void fail()
    {
        state_ = SocketState::Error;
        signalActivity();
    }
    // Stop answering commands: the test answers with deliver().
    bool manual = false;

    std::string sent;
    std::optional<std::size_t> tlsAt; // where in `sent` the encryption began
    int connects = 0;
    int closes = 0;

private:
    void greet()
    {
        for (const auto& piece : server_.greeting)
            deliver(piece);
    }

    void serve()
    {
        if (manual)
            return;
        for (;;) {
            if (inData_) {
                // The content ends with the line "." (the first line may be it).
                const std::string framed = "\r\n" + received_;
                const auto end = framed.find("\r\n.\r\n");
                if (end == std::string::npos)
                    return;
                server_.messages.push_back(framed.substr(2, end));
                received_.erase(0, end + 3);
                inData_ = false;
                deliver(server_.dataReply);
                continue;
            }
            const auto eol = received_.find("\r\n");
            if (eol == std::string::npos)
                return;
            const auto line = received_.substr(0, eol);
            received_.erase(0, eol + 2);
            server_.commands.push_back(line);
            const auto reply = server_.replyTo(line, tls_ == TlsState::Secure);
            deliver(reply);
            if (reply.starts_with("354"))
                inData_ = true;
            if (reply.starts_with("221"))
                peerClose();
        }
    }

    EventLoop& loop_;
    FakeSmtpServer& server_;
    SocketState state_ = SocketState::Closed;
    std::string inbox_;
    std::string received_;
    bool inData_ = false;
    bool implicitTls_ = false;
    TlsState tls_ = TlsState::Off;
    std::string tlsError_;
    int attempt_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class FakeNetwork final : public Network {
public:
    std::unique_ptr<TcpSocket> createSocket(EventLoop& loop, IoWorkers&) override
    {
        auto socket = std::make_unique<ScriptedSocket>(loop, server);
        sockets.push_back(socket.get());
        return socket;
    }

    FakeSmtpServer server;
    std::vector<ScriptedSocket*> sockets; // owned by whoever asked for them
};

} // namespace volmara::test
