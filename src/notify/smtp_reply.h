#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// One reply of a mail server: one line "NNN text", or continuation lines "NNN-text" ending
// with such a line. The code is the last line's; -1 when that line does not begin with three
// digits followed by a blank, a hyphen or the end of the line.
struct SmtpReply {
    int code = -1;
    std::vector<std::string> lines; // the text after "NNN " / "NNN-" of every line
    bool operator==(const SmtpReply&) const = default;
};

struct ReplyScan {
    std::vector<SmtpReply> replies; // every complete reply at the front of the buffer, in order
    std::size_t consumed = 0;       // bytes they took; what follows is an incomplete reply
};

// Lines end with CR LF (a bare LF is accepted). A reply is complete with its last line's end.
ReplyScan parseReplies(std::string_view buffer);

// The code a reply must carry, as three digits ("250").
int replyCode(std::string_view digits);

} // namespace volmara
