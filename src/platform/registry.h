#pragma once

namespace volmara {

// The store behind the registry keys the program uses: the start-up entry (an XDG autostart
// entry on Linux) and the lookup of the system-information tool.
class Registry {
public:
    virtual ~Registry() = default;
};

} // namespace volmara
