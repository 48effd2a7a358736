#pragma once

#include <string>

namespace volmara {

// How one conversation ended, so a message that did not go out can be kept and tried again when
// the cause may pass (no connection, a time-out, a 4xx reply, a broken encryption) and dropped
// when the server refused it for good (a 5xx reply).
struct MailResult {
    enum class Outcome { Delivered, Retry, Final };
    Outcome outcome = Outcome::Retry;
    std::string reason; // for the status line and the log; empty when delivered

    bool delivered() const { return outcome == Outcome::Delivered; }
};

} // namespace volmara
