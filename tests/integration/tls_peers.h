#pragma once

#include <optional>
#include <string>
#include <vector>

namespace volmara::test {

// Puts the process in a network namespace of its own with its loopback up, so a server of the
// tests can listen on 127.0.0.1:465 without meeting anything else on the machine. Call before
// any thread starts.
void enterPrivateNetwork();
// Empty when the process has its own network, else why not.
const std::string& privateNetworkProblem();

// A certificate authority and two server certificates it signed, made with the `openssl`
// command in a temporary folder that goes with the object: `localhost` names localhost and
// 127.0.0.1, `other` names other.example alone.
class TestCertificates {
public:
    // Why certificates cannot be made here (no openssl command); nullopt when they can.
    static std::optional<std::string> unavailable();

    TestCertificates();
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    bool made() const { return made_; }
    std::string authority() const { return folder_ + "/ca.pem"; }
    std::string certificate(const std::string& name) const { return folder_ + "/" + name + ".pem"; }
    std::string key(const std::string& name) const { return folder_ + "/" + name + ".key"; }

private:
    std::string folder_;
    bool made_ = false;
};

// smtp_tls_server.py on 127.0.0.1, started by the test and stopped with it.
class TlsSmtpServer {
public:
    enum class Mode { StartTls, Implicit, Plain };

    // Why the server cannot run here (Debian's Python or aiosmtpd missing); nullopt when it can.
    static std::optional<std::string> unavailable();

    // Port 0: any free port.
    TlsSmtpServer(Mode mode, const std::string& certificate, const std::string& key, int port = 0);
    ~TlsSmtpServer();
    TlsSmtpServer(const TlsSmtpServer&) = delete;
    TlsSmtpServer& operator=(const TlsSmtpServer&) = delete;

    bool ready() const { return port_ > 0; }
    int port() const { return port_; }
    // What the server saw, a line per command or handshake (see the script), once the first
    // connection has ended (waited for up to 10 s).
    std::vector<std::string> journal() const;
    // What the server wrote to its standard error: why it did not start, what it refused.
    std::string log() const;
    // The i-th stored message (1-based); empty when there is none.
    std::string message(int number) const;

private:
    std::string folder_;
    int port_ = 0;
    int pid_ = -1;
};

} // namespace volmara::test
