#pragma once

#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "notify/smtp_client.h"
#include "platform/posix/network_posix.h"

#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>

#include <sys/wait.h>

namespace volmara::test {

// One conversation on a real socket, on the manual loop polling the socket.
struct Conversation {
    ManualEventLoop loop;
    ManualIo io{loop};
    PosixNetwork network;
    std::unique_ptr<TcpSocket> socket = network.createSocket(loop, io);
    Timer timer{loop, 60000};
    MailTimeout timeout{timer, *socket};
    SmtpClient client{*socket, timeout};
    TaskScope scope;

    std::optional<MailResult> deliver(MailMessage mail)
    {
        auto result = std::make_shared<std::optional<MailResult>>();
        scope.spawn([](SmtpClient& c, MailMessage m, std::shared_ptr<std::optional<MailResult>> out) -> Task<void> {
            auto conversation = c.deliver(std::move(m));
            *out = co_await conversation;
        }(client, std::move(mail), result));
        loop.runUntil([&] { return result->has_value(); }, std::chrono::seconds(20));
        return *result;
    }
    // Whether the server took the message.
    std::optional<bool> send(MailMessage mail)
    {
        const auto result = deliver(std::move(mail));
        return result ? std::optional<bool>(result->delivered()) : std::nullopt;
    }
};

// Ends a test server's process: politely first, by force after five seconds.
inline void stopChild(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace volmara::test
