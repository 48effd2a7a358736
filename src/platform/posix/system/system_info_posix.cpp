#include "platform/posix/system_info_posix.h"

#include "platform/posix/system/command_output.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utmpx.h>

namespace volmara {

namespace {

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The whole of a small file, or nullopt. Never follows a FIFO or a device: only regular files
// and the kernel's own tables (which stat as regular files of size 0).
std::optional<std::string> readSmallFile(const std::string& path, std::size_t cap)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < cap) {
        const auto n = ::read(fd, chunk, std::min(sizeof(chunk), cap - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

} // namespace

std::optional<MemoryFigures> PosixSystemInfo::memoryFigures()
{
    const auto text = readSmallFile(sources_.procFolder + "/meminfo", 1 << 20);
    if (!text)
        return std::nullopt;
    MemoryFigures figures;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        auto line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        auto value = trimBlanks(line.substr(colon + 1));
        std::uint64_t number = 0;
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec == std::errc() && ptr != value.data())
            figures.emplace(std::string(line.substr(0, colon)), number);
    }
    if (figures.empty())
        return std::nullopt;
    return figures;
}

std::int64_t PosixSystemInfo::millisecondsSinceBoot()
{
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

std::vector<ProcessEntry> PosixSystemInfo::processes(std::size_t limit)
{
    std::vector<ProcessEntry> list;
    DIR* folder = ::opendir(sources_.procFolder.c_str());
    if (!folder)
        return list;
    while (list.size() < limit) {
        const dirent* item = ::readdir(folder);
        if (!item)
            break;
        const std::string_view name = item->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        // The descriptor opened for the process is what the report shows as its handle.
        const int handle = ::openat(::dirfd(folder), item->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (handle < 0)
            continue;
        char target[PATH_MAX];
        const auto length = ::readlinkat(handle, "exe", target, sizeof(target));
        if (length > 0)
            list.push_back(ProcessEntry{std::string(trimBlanks(std::string_view(target, static_cast<std::size_t>(length)))), handle});
        ::close(handle);
    }
    ::closedir(folder);
    return list;
}

std::string PosixSystemInfo::hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof(name) - 1) != 0)
        return {};
    return name;
}

int PosixSystemInfo::utcOffsetMinutes()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

std::vector<LoggedOnUser> PosixSystemInfo::loggedOnUsers()
{
    // The records are read from the file directly: the getutxent family keeps global state and
    // is not safe on the workers.
    std::vector<LoggedOnUser> users;
    const auto records = readSmallFile(sources_.utmpFile, 4 << 20);
    if (!records)
        return users;
    const auto machine = hostName();
    for (std::size_t at = 0; at + sizeof(utmpx) <= records->size(); at += sizeof(utmpx)) {
        utmpx record{};
        std::memcpy(&record, records->data() + at, sizeof(record));
        if (record.ut_type != USER_PROCESS)
            continue;
        users.push_back(LoggedOnUser{machine, std::string(record.ut_user, ::strnlen(record.ut_user, sizeof(record.ut_user)))});
    }
    return users;
}

std::optional<std::string> PosixSystemInfo::networkStatistics()
{
    for (const char* tool : {"netstat", "ss"}) {
        if (const auto program = findProgram(tool))
            return commandOutput(*program, {tool, "-tuna"}, std::chrono::seconds(10), 4 << 20);
    }
    return std::nullopt;
}

CappedFile PosixSystemInfo::readFile(const std::string& path, std::size_t cap)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    // One byte past the cap tells whether there was more.
    auto bytes = readSmallFile(path, cap + 1);
    if (!bytes)
        return CappedFile{CappedFile::Status::Unreadable, {}, false};
    const bool truncated = bytes->size() > cap;
    if (truncated)
        bytes->resize(cap);
    return CappedFile{CappedFile::Status::Read, std::move(*bytes), truncated};
}

} // namespace volmara
