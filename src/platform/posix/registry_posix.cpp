#include "platform/posix/registry_posix.h"

#include "platform/posix/registry/autostart_entry.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace volmara {

namespace {

constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;
constexpr std::uint32_t kHkeyLocalMachine = 0x80000002;

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Registry key names do not care about case.
bool sameKey(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

bool isRunKey(RegRoot root, const std::string& subKey)
{
    return (root == kHkeyLocalMachine || root == kHkeyCurrentUser) &&
           sameKey(subKey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

// A value name becomes a file name of its own, never a path.
bool plainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::string errnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

RegStatus makeFolders(const std::string& folder)
{
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const auto part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return {false, errnoText(part)};
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return {false, errnoText(folder)};
    if (!S_ISDIR(st.st_mode))
        return {false, folder + ": not a folder"};
    return {true, {}};
}

// Replaces the file in one step: a failed write leaves the old entry whole.
RegStatus replaceFile(const std::string& path, const std::string& text)
{
    const auto temporary = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return {false, errnoText(temporary)};
    std::size_t written = 0;
    while (written < text.size()) {
        const auto n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            auto status = RegStatus{false, errnoText(temporary)};
            ::close(fd);
            ::unlink(temporary.c_str());
            return status;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        auto status = RegStatus{false, errnoText(temporary)};
        ::unlink(temporary.c_str());
        return status;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        auto status = RegStatus{false, errnoText(path)};
        ::unlink(temporary.c_str());
        return status;
    }
    return {true, {}};
}

std::string envPath()
{
    const char* path = std::getenv("PATH");
    return path ? path : "/usr/local/bin:/usr/bin:/bin";
}

} // namespace

const std::vector<std::string> PosixRegistry::kSysInfoTools{
    "hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor", "xfce4-taskmanager", "lxtask",
};

RegStatus PosixRegistry::setString(RegRoot root, const std::string& subKey, const std::string& valueName,
                                   const std::string& data)
{
    if (!isRunKey(root, subKey))
        return {false, "the key is not kept on this system"};
    if (!plainName(valueName))
        return {false, "the value name cannot name an autostart entry"};
    const auto folder = autostartFolder();
    if (folder.empty())
        return {false, "there is no home folder to keep the autostart entry in"};
    if (auto made = makeFolders(folder); !made.ok)
        return made;
    return replaceFile(folder + "/" + lower(valueName) + ".desktop", autostartEntryText(valueName, data));
}

std::optional<std::string> PosixRegistry::queryString(RegRoot root, const std::string& subKey, const std::string& valueName)
{
    if (root == kHkeyLocalMachine && sameKey(subKey, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO") &&
        sameKey(valueName, "PATH"))
        return findOnPath(kSysInfoTools, envPath());
    if (isRunKey(root, subKey) && plainName(valueName)) {
        const auto folder = autostartFolder();
        if (folder.empty())
            return std::nullopt;
        std::ifstream in(folder + "/" + lower(valueName) + ".desktop", std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        return autostartProgram(text.str());
    }
    return std::nullopt;
}

} // namespace volmara
