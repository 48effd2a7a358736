#include "notify/smtp_wire.h"

#include "core/format.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace volmara {

namespace {

// Splits at every line break (CR LF, CR or LF); the text after the last break is a line too.
std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    out.push_back(text.substr(start));
    return out;
}

// Where to break a line that is too long: after the last "<br>" or blank that keeps the piece
// within the limit, else at the limit itself, never inside a UTF-8 sequence.
std::size_t breakPoint(std::string_view line, std::size_t limit)
{
    const auto window = line.substr(0, limit);
    if (const auto br = window.rfind("<br>"); br != std::string_view::npos && br + 4 <= limit && br > 0)
        return br + 4;
    if (const auto blank = window.rfind(' '); blank != std::string_view::npos && blank > 0)
        return blank + 1;
    std::size_t at = limit;
    while (at > 1 && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

void appendStuffed(std::string& out, std::string_view line)
{
    if (!line.empty() && line.front() == '.')
        out += '.';
    out.append(line);
    out.append(kCrLfText);
}

} // namespace

std::string wireBody(std::string_view body)
{
    std::string out;
    out.reserve(body.size() + body.size() / 64 + 2);
    auto pieces = lines(body);
    // A body ending in a line break has no last line after it.
    if (pieces.size() > 1 && pieces.back().empty())
        pieces.pop_back();
    for (auto line : pieces) {
        // The stuffed "." counts toward the limit.
        while (line.size() + (line.starts_with('.') ? 1 : 0) > kMaxWireLine) {
            const auto at = breakPoint(line, kMaxWireLine - 1);
            appendStuffed(out, line.substr(0, at));
            line.remove_prefix(at);
        }
        appendStuffed(out, line);
    }
    return out;
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::string mailDate(const DateTime& local, int utcOffsetMinutes)
{
    static constexpr std::array<const char*, 7> days{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // Day of the week by Sakamoto's method.
    static constexpr std::array<int, 12> t{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = local.year - (local.month < 3 ? 1 : 0);
    const int weekday = (y + y / 4 - y / 100 + y / 400 + t[static_cast<std::size_t>(local.month - 1)] + local.day) % 7;
    const int offset = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char text[64];
    std::snprintf(text, sizeof(text), "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d", days[static_cast<std::size_t>(weekday)],
                  local.day, months[static_cast<std::size_t>(local.month - 1)], local.year, local.hour, local.minute,
                  local.second, utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string messageId(const DateTime& local, unsigned sequence, std::uint64_t random, std::string_view sender,
                      std::string_view hostName)
{
    std::string domain;
    if (const auto at = sender.rfind('@'); at != std::string_view::npos)
        domain = std::string(sender.substr(at + 1));
    const bool usable = !domain.empty() && domain.find_first_not_of(
                                               "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") ==
                                               std::string::npos;
    if (!usable)
        domain = hostName.empty() ? "localhost" : std::string(hostName);
    char text[96];
    std::snprintf(text, sizeof(text), "%s.%u.%016llx", formatDate(local, "yyyymmddHHmmss").c_str(), sequence,
                  static_cast<unsigned long long>(random));
    return "<" + std::string(text) + "@" + domain + ">";
}

} // namespace volmara
