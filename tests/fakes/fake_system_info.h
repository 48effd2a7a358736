#pragma once

#include "platform/system_info.h"

#include <algorithm>
#include <map>

namespace volmara::test {

// The machine as a test describes it. By default: 8 GB of memory, one user, no journal.
class FakeSystemInfo final : public SystemInfo {
public:
    std::optional<MemoryFigures> memoryFigures() override { return memory; }
    std::int64_t millisecondsSinceBoot() override { return uptimeMs; }
    std::vector<ProcessEntry> processes(std::size_t limit) override
    {
        auto list = processList;
        if (list.size() > limit)
            list.resize(limit);
        return list;
    }
    std::string hostName() override { return host; }
    int utcOffsetMinutes() override { return offsetMinutes; }
    std::vector<LoggedOnUser> loggedOnUsers() override { return users; }
    std::optional<std::vector<JournalEntry>> journal(std::size_t count) override
    {
        ++journalReads;
        if (!journalEntries)
            return std::nullopt;
        auto newest = *journalEntries;
        if (newest.size() > count)
            newest.resize(count);
        return newest;
    }
    std::optional<std::string> networkStatistics() override
    {
        ++netstatRuns;
        return netstat;
    }
    CappedFile readFile(const std::string& path, std::size_t cap) override
    {
        readPaths.push_back(path);
        const auto it = files.find(path);
        if (it == files.end())
            return {};
        if (!it->second)
            return CappedFile{CappedFile::Status::Unreadable, {}, false};
        const auto& bytes = *it->second;
        return CappedFile{CappedFile::Status::Read, bytes.substr(0, cap), bytes.size() > cap};
    }

    std::optional<MemoryFigures> memory = MemoryFigures{{"MemTotal", 8'000'000}, {"MemAvailable", 3'000'000}};
    std::int64_t uptimeMs = 3'725'250;
    std::vector<ProcessEntry> processList;
    std::string host = "testbox";
    int offsetMinutes = 60;
    std::vector<LoggedOnUser> users{{"testbox", "user"}};
    std::optional<std::vector<JournalEntry>> journalEntries; // newest first
    std::optional<std::string> netstat = std::string("Active Internet connections\n");
    std::map<std::string, std::optional<std::string>> files; // nullopt: exists, cannot be read

    int journalReads = 0;
    int netstatRuns = 0;
    std::vector<std::string> readPaths;
};

} // namespace volmara::test
