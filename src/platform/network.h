#pragma once

namespace volmara {

// Outgoing TCP connections (the mail conversation) and name lookups.
class Network {
public:
    virtual ~Network() = default;
};

} // namespace volmara
