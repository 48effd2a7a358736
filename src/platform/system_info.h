#pragma once

namespace volmara {

// What the system reports about itself for the notification report: memory, users,
// running time, the event journal, processes, network connections.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
};

} // namespace volmara
