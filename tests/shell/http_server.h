#pragma once

#include <atomic>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace volmara::test {

// A small HTTP/1.0 server on 127.0.0.1 for the update check: pages by path, and pages that are
// answered never (the connection is kept open and silent until the server stops).
class HttpServer {
public:
    struct Page {
        int status = 200;
        std::string body;
        bool silent = false;
    };

    HttpServer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(listener_, 16) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("no listening socket on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~HttpServer()
    {
        stop_ = true;
        thread_.join();
        for (const int fd : silent_)
            ::close(fd);
        ::close(listener_);
    }
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    void page(const std::string& path, Page page)
    {
        std::lock_guard lock(mutex_);
        pages_[path] = std::move(page);
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    // Bytes of page bodies the server managed to hand to the kernel, and the pages it has done
    // sending (a silent page is never done).
    std::size_t bytesSent() const { return sent_; }
    int pagesDone() const { return done_; }

private:
    void serve()
    {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                answer(fd);
        }
    }

    std::string requestPath(int fd)
    {
        std::string request;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192 &&
               std::chrono::steady_clock::now() < until) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char buffer[1024];
            const auto n = ::recv(fd, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const auto start = request.find(' ');
        const auto end = request.find(' ', start + 1);
        return start == std::string::npos || end == std::string::npos ? "" : request.substr(start + 1, end - start - 1);
    }

    void answer(int fd)
    {
        const auto path = requestPath(fd);
        Page page{404, "not here", false};
        {
            std::lock_guard lock(mutex_);
            if (const auto found = pages_.find(path); found != pages_.end())
                page = found->second;
        }
        if (page.silent) {
            silent_.push_back(fd);
            return;
        }
        // A client that stops reading must not hold the server for long.
        timeval timeout{2, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
        const std::string head = "HTTP/1.0 " + std::to_string(page.status) + " X\r\nContent-Type: text/html\r\n"
                                 "Content-Length: " + std::to_string(page.body.size()) + "\r\nConnection: close\r\n\r\n";
        send(fd, head);
        sent_ += send(fd, page.body);
        ::close(fd);
        ++done_;
    }

    static std::size_t send(int fd, const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const auto n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> sent_{0};
    std::atomic<int> done_{0};
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
    std::vector<int> silent_;
    std::thread thread_;
};

} // namespace volmara::test
