#include "platform/posix/http/default_route.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace volmara {

namespace {

constexpr unsigned kIffUp = 0x1;
constexpr unsigned kIffLoopback = 0x8;
constexpr unsigned kRtfUp = 0x1;
constexpr unsigned kRtfReject = 0x200;

std::vector<std::string> fields(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string field; in >> field;)
        out.push_back(field);
    return out;
}

std::optional<unsigned long> hex(const std::string& text)
{
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    try {
        std::size_t used = 0;
        const auto value = std::stoul(text, &used, 16);
        if (used != text.size())
            return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool allZero(const std::string& text) { return !text.empty() && text.find_first_not_of('0') == std::string::npos; }

bool usableInterface(const std::string& name, const InterfaceFlags& flagsOf)
{
    const auto flags = flagsOf(name);
    return flags && (*flags & kIffUp) && !(*flags & kIffLoopback);
}

template <typename Row>
bool anyLine(std::string_view table, bool skipHeader, Row row)
{
    std::istringstream in{std::string(table)};
    std::string line;
    if (skipHeader)
        std::getline(in, line);
    while (std::getline(in, line))
        if (row(fields(line)))
            return true;
    return false;
}

} // namespace

bool hasIpv4DefaultRoute(std::string_view procNetRoute, const InterfaceFlags& flagsOf)
{
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
    return anyLine(procNetRoute, true, [&](const std::vector<std::string>& f) {
        if (f.size() < 8 || !allZero(f[1]) || !allZero(f[7]))
            return false;
        const auto flags = hex(f[3]);
        return flags && (*flags & kRtfUp) && !(*flags & kRtfReject) && usableInterface(f[0], flagsOf);
    });
}

bool hasIpv6DefaultRoute(std::string_view procNetIpv6Route, const InterfaceFlags& flagsOf)
{
    // Destination PrefixLength Source SourcePrefix NextHop Metric RefCnt Use Flags Device
    return anyLine(procNetIpv6Route, false, [&](const std::vector<std::string>& f) {
        if (f.size() < 10 || !allZero(f[0]) || !allZero(f[1]))
            return false;
        const auto flags = hex(f[8]);
        return flags && (*flags & kRtfUp) && !(*flags & kRtfReject) && usableInterface(f[9], flagsOf);
    });
}

std::optional<unsigned> sysInterfaceFlags(const std::string& name)
{
    // A name from the routing table, never a path of its own.
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return std::nullopt;
    std::ifstream in("/sys/class/net/" + name + "/flags");
    std::string text;
    if (!(in >> text))
        return std::nullopt;
    if (text.starts_with("0x"))
        text.erase(0, 2);
    const auto value = hex(text);
    if (!value)
        return std::nullopt;
    return static_cast<unsigned>(*value);
}

} // namespace volmara
