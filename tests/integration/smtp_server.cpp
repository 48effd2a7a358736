#include "smtp_server.h"

#include "real_conversation.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace volmara::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// True once the server answers a connection with its greeting.
bool greets(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto address = loopback(port);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        pollfd wait{fd, POLLIN, 0};
        char text[4] = {};
        ok = ::poll(&wait, 1, 2000) == 1 && ::recv(fd, text, 3, 0) == 3 && std::string(text) == "220";
    }
    ::close(fd);
    return ok;
}

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    auto address = loopback(0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

std::optional<std::string> SmtpServer::unavailable()
{
    if (::access(kPython, X_OK) != 0)
        return std::string("no ") + kPython;
    if (std::system("/usr/bin/python3 -c 'import aiosmtpd' >/dev/null 2>&1") != 0)
        return std::string("python3-aiosmtpd is not installed");
    return std::nullopt;
}

SmtpServer::SmtpServer(int port)
{
    char folder[] = "/tmp/volmara-smtp-XXXXXX";
    if (!::mkdtemp(folder))
        return;
    folder_ = folder;
    // The port is free when asked for; another process may take it before the server binds, so
    // a few attempts are made, each bounded.
    for (int attempt = 0; attempt < 3 && !ready_; ++attempt) {
        port_ = port != 0 ? port : closedPort();
        const std::string listen = "127.0.0.1:" + std::to_string(port_);
        std::vector<std::string> args{kPython, "-m", "aiosmtpd", "-n", "-l", listen, "-c", "smtp_store.StoringHandler", folder_};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{std::string("PYTHONPATH=") + VOLMARA_INTEGRATION_DIR, "PYTHONDONTWRITEBYTECODE=1"};
        for (char** e = environ; *e; ++e) {
            if (std::string_view(*e).starts_with("PYTHON"))
                continue;
            env.emplace_back(*e);
        }
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t child = -1;
        const int started = ::posix_spawn(&child, kPython, &actions, nullptr, argv.data(), envp.data());
        ::posix_spawn_file_actions_destroy(&actions);
        if (started != 0)
            return;
        pid_ = child;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until && !ready_) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1; // it ended: most likely the port was taken
                break;
            }
            ready_ = greets(port_);
            if (!ready_)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!ready_ && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
}

SmtpServer::~SmtpServer()
{
    stopChild(pid_);
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::string SmtpServer::message(int number) const
{
    char name[16];
    std::snprintf(name, sizeof(name), "%03d.eml", number);
    return readAll(std::filesystem::path(folder_) / name);
}

std::string SmtpServer::envelope(int number) const
{
    char name[16];
    std::snprintf(name, sizeof(name), "%03d.env", number);
    return readAll(std::filesystem::path(folder_) / name);
}

int SmtpServer::messageCount() const
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        count += entry.path().extension() == ".eml" ? 1 : 0;
    return count;
}

} // namespace volmara::test
