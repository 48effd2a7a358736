#include "tls_peers.h"

#include "real_conversation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace volmara::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string temporaryFolder(const char* prefix)
{
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

void removeFolder(const std::string& folder)
{
    if (folder.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool loopbackUp(std::string& problem)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    const bool up = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ::ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    if (!up)
        problem = std::string("the loopback did not come up: ") + std::strerror(errno);
    if (fd >= 0)
        ::close(fd);
    return up;
}

std::string& networkProblem()
{
    static std::string problem = "the private network was not set up";
    return problem;
}

std::string privateNetwork()
{
    if (::unshare(CLONE_NEWNET) != 0) {
        const std::string asRoot = std::strerror(errno);
        const auto uid = ::geteuid();
        const auto gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
            return "no private network namespace (" + asRoot + "; " + std::strerror(errno) + ")";
        if (!writeFile("/proc/self/setgroups", "deny") || !writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return "mapping the user into the new user namespace failed";
    }
    std::string problem;
    loopbackUp(problem);
    return problem;
}

} // namespace

void enterPrivateNetwork() { networkProblem() = privateNetwork(); }

const std::string& privateNetworkProblem() { return networkProblem(); }

std::optional<std::string> TestCertificates::unavailable()
{
    if (std::system("openssl version >/dev/null 2>&1") != 0)
        return std::string("the openssl command is not installed");
    return std::nullopt;
}

TestCertificates::TestCertificates() : folder_(temporaryFolder("volmara-tls"))
{
    if (folder_.empty())
        return;
    const std::filesystem::path folder(folder_);
    made_ = writeFile(folder / "ca.cnf", "[req]\n"
                                         "distinguished_name = dn\n"
                                         "x509_extensions = authority\n"
                                         "prompt = no\n"
                                         "[dn]\n"
                                         "CN = Volmara Test Authority\n"
                                         "[authority]\n"
                                         "basicConstraints = critical,CA:TRUE\n"
                                         "keyUsage = critical,keyCertSign,cRLSign\n"
                                         "subjectKeyIdentifier = hash\n") &&
            writeFile(folder / "localhost.ext", "subjectAltName=DNS:localhost,IP:127.0.0.1\nextendedKeyUsage=serverAuth\n") &&
            writeFile(folder / "other.ext", "subjectAltName=DNS:other.example\nextendedKeyUsage=serverAuth\n");
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    std::string script = "cd " + folder_ + " && openssl req -x509 -config ca.cnf" + key + " -keyout ca.key -out ca.pem -days 30";
    for (const std::string name : {"localhost", "other"}) {
        script += " && openssl req -new -config ca.cnf" + key + " -keyout " + name + ".key -out " + name + ".csr -subj /CN=" + name;
        script += " && openssl x509 -req -in " + name + ".csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 -out " + name +
                  ".pem -extfile " + name + ".ext";
    }
    made_ = made_ && std::system(("(" + script + ") >/dev/null 2>&1").c_str()) == 0;
}

TestCertificates::~TestCertificates() { removeFolder(folder_); }

std::optional<std::string> TlsSmtpServer::unavailable()
{
    if (::access(kPython, X_OK) != 0)
        return std::string("no ") + kPython;
    if (std::system("/usr/bin/python3 -c 'import aiosmtpd' >/dev/null 2>&1") != 0)
        return std::string("python3-aiosmtpd is not installed");
    return std::nullopt;
}

TlsSmtpServer::TlsSmtpServer(Mode mode, const std::string& certificate, const std::string& key, int port)
    : folder_(temporaryFolder("volmara-smtps"))
{
    if (folder_.empty())
        return;
    const char* modeName = mode == Mode::StartTls ? "starttls" : mode == Mode::Implicit ? "implicit" : "plain";
    const std::string script = std::string(VOLMARA_INTEGRATION_DIR) + "/smtp_tls_server.py";
    std::vector<std::string> args{kPython, script, modeName, std::to_string(port), folder_, certificate, key};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env{std::string("PYTHONPATH=") + VOLMARA_INTEGRATION_DIR, "PYTHONDONTWRITEBYTECODE=1"};
    for (char** e = environ; *e; ++e) {
        if (!std::string_view(*e).starts_with("PYTHON"))
            env.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto log = folder_ + "/server.log";
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = -1;
    const int started = ::posix_spawn(&child, kPython, &actions, nullptr, argv.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return;
    pid_ = child;
    // The server writes its port once it listens.
    const auto portFile = std::filesystem::path(folder_) / "port";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        if (std::filesystem::exists(portFile)) {
            port_ = std::atoi(readAll(portFile).c_str());
            return;
        }
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1; // it ended: the port was taken, or the script failed
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TlsSmtpServer::~TlsSmtpServer()
{
    stopChild(pid_);
    removeFolder(folder_);
}

std::vector<std::string> TlsSmtpServer::journal() const
{
    // The client may end before the server has read its last command; the server's "closed"
    // comes after everything it read.
    std::vector<std::string> lines;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        lines.clear();
        std::istringstream in(readAll(std::filesystem::path(folder_) / "commands.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (std::find(lines.begin(), lines.end(), "closed") != lines.end() || std::chrono::steady_clock::now() > until)
            return lines;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string TlsSmtpServer::log() const { return readAll(std::filesystem::path(folder_) / "server.log"); }

std::string TlsSmtpServer::message(int number) const
{
    char name[16];
    std::snprintf(name, sizeof(name), "%03d.eml", number);
    return readAll(std::filesystem::path(folder_) / name);
}

} // namespace volmara::test
