#pragma once

#include "core/date_time.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace volmara {

inline constexpr std::string_view kCrLfText = "\r\n";

// The longest line a mail server must take, without its CR LF.
inline constexpr std::size_t kMaxWireLine = 998;

// The body as it goes over the wire after DATA: every line break becomes CR LF (a bare CR or LF
// could end the data early on a lax server), a line longer than a server must take is broken
// (after a "<br>" or a blank when there is one), and a line beginning with "." gets another ".",
// so no line of the report can end the message before its end.
std::string wireBody(std::string_view body);

// True when the text holds a CR or LF: such a text must not reach a command or header line.
bool hasLineBreak(std::string_view text);

// "Thu, 10 Dec 2026 09:30:00 +0100" for a local time `utcOffsetMinutes` ahead of UTC.
std::string mailDate(const DateTime& local, int utcOffsetMinutes);

// "<stamp.sequence.random@domain>": the domain of the sender's address when it has a usable one,
// else `hostName`.
std::string messageId(const DateTime& local, unsigned sequence, std::uint64_t random, std::string_view sender,
                      std::string_view hostName);

} // namespace volmara
