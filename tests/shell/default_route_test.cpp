#include "platform/posix/http/default_route.h"

#include <gtest/gtest.h>

#include <map>

namespace volmara::test {
namespace {

const std::string kHeader = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string route(const std::string& iface, const std::string& destination, const std::string& flags,
                  const std::string& mask)
{
    return iface + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t0\t" + mask + "\t0\t0\t0\n";
}

TEST(DefaultRoute, Ipv4NeedsADefaultRouteOverAnInterfaceThatIsUpAndNotALoopback)
{
    const std::map<std::string, unsigned> interfaces{{"eth0", 0x1003}, {"down0", 0x1002}, {"lo", 0x9}};
    const InterfaceFlags flagsOf = [&](const std::string& name) -> std::optional<unsigned> {
        const auto found = interfaces.find(name);
        if (found == interfaces.end())
            return std::nullopt;
        return found->second;
    };
    struct Case {
        std::string table;
        bool reachable;
    };
    for (const auto& c : {
             Case{route("eth0", "00000000", "0003", "00000000") + route("eth0", "000200C0", "0001", "00FFFFFF"), true},
             Case{route("eth0", "000200C0", "0001", "00FFFFFF"), false},  // only the local network
             Case{route("down0", "00000000", "0003", "00000000"), false}, // the interface is down
             Case{route("lo", "00000000", "0003", "00000000"), false},    // a loopback
             Case{route("eth0", "00000000", "0002", "00000000"), false},  // the route is not up
             Case{route("eth0", "00000000", "0203", "00000000"), false},  // a reject route
             Case{route("gone0", "00000000", "0003", "00000000"), false}, // no such interface
             Case{route("eth0", "00000000", "0003", "000000FF"), false},  // not a default
             Case{"", false},
             Case{"garbage without fields\n\n", false},
         }) {
        SCOPED_TRACE(c.table);
        EXPECT_EQ(hasIpv4DefaultRoute(kHeader + c.table, flagsOf), c.reachable);
    }

    const std::string lo6 = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                            "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";
    const std::string eth6 = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                             "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";
    EXPECT_FALSE(hasIpv6DefaultRoute(lo6, flagsOf));
    EXPECT_TRUE(hasIpv6DefaultRoute(lo6 + eth6, flagsOf));
}

TEST(DefaultRoute, InterfaceFlagsComeFromTheSystem)
{
    // Whatever this machine's network is, the loopback's flags are readable and it is no way out.
    const auto lo = sysInterfaceFlags("lo");
    ASSERT_TRUE(lo.has_value());
    EXPECT_TRUE(*lo & 0x8);
    EXPECT_EQ(sysInterfaceFlags("../lo"), std::nullopt);
}

} // namespace
} // namespace volmara::test
