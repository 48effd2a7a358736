#pragma once

#include <string>

namespace volmara {

// How one conversation ended, so a message that did not go out can be kept and tried again when
// the cause may pass (no connection, a time-out, a 4xx reply, a broken encryption) and dropped
// when it cannot go out as set (a 5xx reply such as a refused password, a certificate that does
// not prove the server's name, a server that offers no encryption for the password).
struct MailResult {
    enum class Outcome { Delivered, Retry, Final };
    Outcome outcome = Outcome::Retry;
    std::string reason; // for the status line and the log; empty when delivered

    bool delivered() const { return outcome == Outcome::Delivered; }
};

} // namespace volmara
