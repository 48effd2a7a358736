#include "platform/posix/network_posix.h"

#include "platform/posix/net/posix_tcp_socket.h"

namespace volmara {

std::unique_ptr<TcpSocket> PosixNetwork::createSocket(EventLoop& loop, IoWorkers& io)
{
    return std::make_unique<PosixTcpSocket>(loop, io);
}

} // namespace volmara
