#include "notify/smtp_reply.h"

namespace volmara {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The code of a line, or -1; `more` tells whether it is a continuation line.
int lineCode(std::string_view line, bool& more)
{
    more = false;
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return -1;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return -1;
    more = line.size() > 3 && line[3] == '-';
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

} // namespace

int replyCode(std::string_view digits)
{
    bool more = false;
    return digits.size() == 3 ? lineCode(digits, more) : -1;
}

ReplyScan parseReplies(std::string_view buffer)
{
    ReplyScan scan;
    SmtpReply current;
    std::size_t at = 0;
    for (;;) {
        const auto end = buffer.find('\n', at);
        if (end == std::string_view::npos)
            break;
        auto line = buffer.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        at = end + 1;
        bool more = false;
        const int code = lineCode(line, more);
        current.lines.emplace_back(line.size() > 4 ? line.substr(4) : std::string_view());
        if (more && code >= 0)
            continue;
        current.code = code;
        scan.replies.push_back(std::move(current));
        current = SmtpReply{};
        scan.consumed = at;
    }
    return scan;
}

} // namespace volmara
