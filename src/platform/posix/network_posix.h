#pragma once

#include "platform/network.h"

namespace volmara {

// TCP connections through non-blocking POSIX sockets watched by the event loop.
class PosixNetwork final : public Network {
public:
    std::unique_ptr<TcpSocket> createSocket(EventLoop& loop, IoWorkers& io) override;
};

} // namespace volmara
