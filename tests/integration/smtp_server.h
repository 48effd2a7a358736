#pragma once

#include <optional>
#include <string>

namespace volmara::test {

// An SMTP server on 127.0.0.1, `python3 -m aiosmtpd` with the storing handler beside this file,
// started by the test and stopped with it. Messages land in a temporary folder.
class SmtpServer {
public:
    // Empty when Debian's Python or its aiosmtpd module is missing (the tests then skip).
    static std::optional<std::string> unavailable();

    // On `port` when given (a server that comes back where it was), else on a free one.
    explicit SmtpServer(int port = 0);
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    bool ready() const { return ready_; }
    int port() const { return port_; }
    // The i-th stored message (1-based) and its envelope; empty when there is none.
    std::string message(int number) const;
    std::string envelope(int number) const;
    int messageCount() const;

private:
    std::string folder_;
    int port_ = 0;
    int pid_ = -1;
    bool ready_ = false;
};

// A port on 127.0.0.1 that nothing listens on (at the moment of asking).
int closedPort();

} // namespace volmara::test
