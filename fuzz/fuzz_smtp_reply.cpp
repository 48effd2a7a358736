// Fuzzes what the mail conversation makes of bytes it does not control: the first input byte
// picks the server's replies (parsed whole and in two pieces) or a report body going over the
// wire (line breaks, line lengths, stuffed dots).
#include "notify/smtp_reply.h"
#include "notify/smtp_wire.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkReplies(std::string_view buffer, std::size_t split)
{
    const auto scan = volmara::parseReplies(buffer);
    require(scan.consumed <= buffer.size());
    require(scan.consumed == 0 || buffer[scan.consumed - 1] == '\n');
    for (const auto& reply : scan.replies) {
        require(reply.code >= -1 && reply.code <= 999);
        require(!reply.lines.empty());
    }
    // What is left holds no complete reply, and the replies read again give the same.
    require(volmara::parseReplies(buffer.substr(scan.consumed)).replies.empty());
    const auto again = volmara::parseReplies(buffer.substr(0, scan.consumed));
    require(again.replies == scan.replies && again.consumed == scan.consumed);
    // Bytes arriving later never change a reply already complete.
    const auto early = volmara::parseReplies(buffer.substr(0, split % (buffer.size() + 1)));
    require(early.replies.size() <= scan.replies.size());
    for (std::size_t i = 0; i < early.replies.size(); ++i)
        require(early.replies[i] == scan.replies[i]);
}

void checkWire(std::string_view body)
{
    const auto wire = volmara::wireBody(body);
    require(wire.size() >= 2 && wire.ends_with("\r\n"));
    std::size_t kept = 0;
    std::size_t start = 0;
    while (start < wire.size()) {
        const auto end = wire.find("\r\n", start);
        require(end != std::string::npos);
        const auto line = std::string_view(wire).substr(start, end - start);
        require(line.find_first_of("\r\n") == std::string_view::npos);
        require(line.size() <= volmara::kMaxWireLine);
        require(line != ".");
        require(!line.starts_with('.') || line.starts_with(".."));
        kept += line.size() - (line.starts_with('.') ? 1 : 0);
        start = end + 2;
    }
    // Nothing but line breaks and stuffed dots was added or taken away.
    std::size_t text = 0;
    for (const char c : body)
        text += (c == '\r' || c == '\n') ? 0 : 1;
    require(kept == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0)
        checkReplies(input, data[0]);
    else
        checkWire(input);
    return 0;
}
