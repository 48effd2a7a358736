#pragma once

#include "platform/http.h"

namespace volmara {

// HTTP over libcurl; reachability from the kernel's routing tables.
class PosixHttp final : public Http {
public:
    PosixHttp();
    HttpReply get(const HttpRequest& request) override;
    bool reachable() override;
};

} // namespace volmara
