#include "platform/posix/system_info_posix.h"

#include <charconv>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <pwd.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace volmara {

namespace {

struct JournalCloser {
    void operator()(sd_journal* journal) const { sd_journal_close(journal); }
};
using Journal = std::unique_ptr<sd_journal, JournalCloser>;

std::string field(sd_journal* journal, const char* name)
{
    const void* data = nullptr;
    std::size_t length = 0;
    if (sd_journal_get_data(journal, name, &data, &length) < 0)
        return {};
    const std::string_view whole(static_cast<const char*>(data), length);
    const auto eq = whole.find('=');
    return eq == std::string_view::npos ? std::string() : std::string(whole.substr(eq + 1));
}

template <typename T>
std::optional<T> number(const std::string& text)
{
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string accountOf(const std::string& uidText)
{
    const auto uid = number<uid_t>(uidText);
    if (!uid)
        return uidText;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(*uid, &entry, buffer, sizeof(buffer), &found) == 0 && found)
        return found->pw_name;
    return uidText;
}

// The sequence number is the cursor's "i=" part (hexadecimal).
std::uint64_t sequenceNumber(sd_journal* journal)
{
    char* cursor = nullptr;
    if (sd_journal_get_cursor(journal, &cursor) < 0 || !cursor)
        return 0;
    const std::string text(cursor);
    std::free(cursor);
    std::size_t at = text.rfind(";i=", std::string::npos);
    if (at == std::string::npos)
        return 0;
    at += 3;
    const auto end = text.find(';', at);
    std::uint64_t value = 0;
    std::from_chars(text.data() + at, text.data() + (end == std::string::npos ? text.size() : end), value, 16);
    return value;
}

JournalEntry readEntry(sd_journal* journal)
{
    JournalEntry entry;
    entry.facility = number<int>(field(journal, "SYSLOG_FACILITY"));
    entry.hostName = field(journal, "_HOSTNAME");
    entry.messageId = field(journal, "MESSAGE_ID");
    entry.transport = field(journal, "_TRANSPORT");
    entry.message = field(journal, "MESSAGE");
    entry.sequenceNumber = sequenceNumber(journal);
    entry.identifier = field(journal, "SYSLOG_IDENTIFIER");
    if (entry.identifier.empty())
        entry.identifier = field(journal, "_COMM");
    std::uint64_t usec = 0;
    if (sd_journal_get_realtime_usec(journal, &usec) >= 0)
        entry.realtimeUsec = static_cast<std::int64_t>(usec);
    entry.priority = number<int>(field(journal, "PRIORITY"));
    if (const auto uid = field(journal, "_UID"); !uid.empty())
        entry.user = accountOf(uid);
    return entry;
}

} // namespace

std::optional<std::vector<JournalEntry>> PosixSystemInfo::journal(std::size_t count)
{
    sd_journal* opened = nullptr;
    const int result = sources_.journalFolder.empty()
                           ? sd_journal_open(&opened, SD_JOURNAL_LOCAL_ONLY)
                           : sd_journal_open_directory(&opened, sources_.journalFolder.c_str(), 0);
    if (result < 0 || !opened)
        return std::nullopt;
    const Journal journal(opened);
    // Opening succeeds on a machine that keeps no journal at all; it just has no files.
    std::uint64_t bytes = 0;
    if (sd_journal_get_usage(journal.get(), &bytes) < 0 || bytes == 0)
        return std::nullopt;
    std::vector<JournalEntry> newest;
    if (sd_journal_seek_tail(journal.get()) < 0)
        return std::nullopt;
    while (newest.size() < count && sd_journal_previous(journal.get()) > 0)
        newest.push_back(readEntry(journal.get()));
    return newest;
}

} // namespace volmara
