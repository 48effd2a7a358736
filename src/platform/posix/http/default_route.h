#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

// Interface flags as the kernel reports them (IFF_UP, IFF_LOOPBACK); nullopt when unknown.
using InterfaceFlags = std::function<std::optional<unsigned>(const std::string& name)>;

// A usable default route in /proc/net/route: destination and mask 0, the route up, over an
// interface that is up and is not a loopback.
bool hasIpv4DefaultRoute(std::string_view procNetRoute, const InterfaceFlags& flagsOf);
// The same in /proc/net/ipv6_route: prefix ::/0, up and not a reject route.
bool hasIpv6DefaultRoute(std::string_view procNetIpv6Route, const InterfaceFlags& flagsOf);

// The flags in /sys/class/net/<name>/flags.
std::optional<unsigned> sysInterfaceFlags(const std::string& name);

} // namespace volmara
