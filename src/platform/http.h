#pragma once

namespace volmara {

// Fetching a page over HTTP (the update check) and telling whether the network is reachable.
class Http {
public:
    virtual ~Http() = default;
};

} // namespace volmara
