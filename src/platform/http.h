#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace volmara {

// One GET of a page whose content is not ours: the body is read up to `maxBody` bytes and the
// whole exchange ends after `timeout`, whatever the server does.
struct HttpRequest {
    std::string url;
    std::chrono::milliseconds timeout{10000};
    std::size_t maxBody = 64 * 1024;
};

struct HttpReply {
    bool ok = false;        // a 2xx answer arrived (possibly cut at maxBody)
    long status = 0;        // the HTTP status, 0 when none arrived
    std::string body;       // at most maxBody bytes
    bool truncated = false; // the page was longer than maxBody; the rest was not read
    std::string error;      // why it failed, when !ok
};

// Fetching a page over HTTP (the update check) and telling whether the network is reachable.
class Http {
public:
    virtual ~Http() = default;

    // Blocks until the answer, the error or the time-out: the core calls it on the I/O workers
    // (any thread, several at once). Never throws.
    virtual HttpReply get(const HttpRequest& request) = 0;

    // The machine has a way out: a default route over an interface that is up and is not a
    // loopback. Reads the system's own tables only, so it is quick enough for the UI thread.
    virtual bool reachable() = 0;
};

} // namespace volmara
