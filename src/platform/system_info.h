#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace volmara {

// The memory figures the system gives, by its own names, in KB ("MemTotal", "Cached", ...).
using MemoryFigures = std::map<std::string, std::uint64_t, std::less<>>;

// A logon session of a user (the machine's name, the account).
struct LoggedOnUser {
    std::string machine;
    std::string account;
};

// One entry of the system's event journal, each field already in text where the journal keeps
// text; a field the entry lacks is empty (or nullopt).
struct JournalEntry {
    std::optional<int> facility;     // SYSLOG_FACILITY
    std::string hostName;            // _HOSTNAME
    std::string messageId;           // MESSAGE_ID
    std::string transport;           // _TRANSPORT
    std::string message;             // MESSAGE
    std::uint64_t sequenceNumber = 0;
    std::string identifier;          // SYSLOG_IDENTIFIER, else _COMM
    std::int64_t realtimeUsec = 0;   // microseconds since 1970-01-01 UTC
    std::optional<int> priority;     // PRIORITY
    std::string user;                // the account of _UID, else the number
};

// A running process: its program file and the value of the handle the enumeration opened for it.
struct ProcessEntry {
    std::string path;
    std::int64_t handle = 0;
};

// A text file read for the report, cut at a size.
struct CappedFile {
    enum class Status { Missing, Unreadable, Read };
    Status status = Status::Missing;
    std::string bytes;
    bool truncated = false; // there was more than the cap
};

// What the system reports about itself for the notification report: memory, users, running
// time, the event journal, processes, network connections. Calls marked blocking run on the I/O
// workers (thread-safe); the others read kernel tables and answer at once.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // nullopt when the figures cannot be read.
    virtual std::optional<MemoryFigures> memoryFigures() = 0;
    // Milliseconds since the system started (time in suspend included).
    virtual std::int64_t millisecondsSinceBoot() = 0;
    // At most `limit` processes whose program file can be read, in enumeration order.
    virtual std::vector<ProcessEntry> processes(std::size_t limit) = 0;
    virtual std::string hostName() = 0;
    // The local time zone's current distance from UTC.
    virtual int utcOffsetMinutes() = 0;

    // Blocking. Logon sessions of users; empty when the system keeps no record of them.
    virtual std::vector<LoggedOnUser> loggedOnUsers() = 0;
    // Blocking. The newest `count` entries, newest first; nullopt when there is no journal.
    virtual std::optional<std::vector<JournalEntry>> journal(std::size_t count) = 0;
    // Blocking. The standard output of the network statistics command; nullopt when none ran.
    virtual std::optional<std::string> networkStatistics() = 0;
    // Blocking. The first `cap` bytes of a file.
    virtual CappedFile readFile(const std::string& path, std::size_t cap) = 0;
};

} // namespace volmara
