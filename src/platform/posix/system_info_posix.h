#pragma once

#include "platform/system_info.h"

#include <string>

namespace volmara {

// Where the Linux system keeps what the report reads; tests point these at files they made.
struct SystemSources {
    std::string procFolder = "/proc";
    std::string utmpFile = "/var/run/utmp";
    std::string journalFolder; // empty: the system's own journal
};

// The system report on Linux: /proc/meminfo, the boot clock, /proc/<pid>/exe, utmp records, the
// system journal (sd-journal), and netstat (or `ss` where netstat is missing).
class PosixSystemInfo final : public SystemInfo {
public:
    PosixSystemInfo() = default;
    explicit PosixSystemInfo(SystemSources sources) : sources_(std::move(sources)) {}

    std::optional<MemoryFigures> memoryFigures() override;
    std::int64_t millisecondsSinceBoot() override;
    std::vector<ProcessEntry> processes(std::size_t limit) override;
    std::string hostName() override;
    int utcOffsetMinutes() override;
    std::vector<LoggedOnUser> loggedOnUsers() override;
    std::optional<std::vector<JournalEntry>> journal(std::size_t count) override;
    std::optional<std::string> networkStatistics() override;
    CappedFile readFile(const std::string& path, std::size_t cap) override;

private:
    SystemSources sources_;
};

} // namespace volmara
