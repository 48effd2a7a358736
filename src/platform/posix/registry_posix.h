#pragma once

#include "platform/registry.h"

#include <string>
#include <vector>

namespace volmara {

// The registry keys the program uses, on a freedesktop.org desktop:
// - a value under the Run key is an autostart entry $XDG_CONFIG_HOME/autostart/<name>.desktop
//   (~/.config by default): the data is the program to start; empty data writes Hidden=true,
//   so the program does not start;
// - the system-information tool's registration is the first installed tool of kSysInfoTools
//   found on PATH.
class PosixRegistry final : public Registry {
public:
    // The desktop's system-information tools, most fitting first.
    static const std::vector<std::string> kSysInfoTools;

    RegStatus setString(RegRoot root, const std::string& subKey, const std::string& valueName,
                        const std::string& data) override;
    std::optional<std::string> queryString(RegRoot root, const std::string& subKey,
                                           const std::string& valueName) override;
};

} // namespace volmara
