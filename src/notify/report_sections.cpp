#include "notify/report_sections.h"

#include "core/error.h"
#include "core/format.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace volmara {

namespace {

constexpr std::string_view kCrLf = "\r\n";
const std::string kSep(kReportSeparator);

std::string crlf() { return std::string(kCrLf); }

std::string lowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

std::optional<std::uint64_t> figure(const std::optional<MemoryFigures>& figures, std::string_view name)
{
    if (!figures)
        return std::nullopt;
    const auto it = figures->find(name);
    if (it == figures->end())
        return std::nullopt;
    return it->second;
}

// "#,###" read back as a number: the empty text of zero is 0.
double readBack(const std::string& text, const Locale& locale) { return parseNumber(text, locale).value_or(0); }

const char* facilityName(int facility)
{
    static constexpr std::array<const char*, 24> names{
        "kern",   "user",   "mail",   "daemon", "auth",   "syslog", "lpr",    "news",
        "uucp",   "cron",   "authpriv", "ftp",  "ntp",    "security", "console", "solaris-cron",
        "local0", "local1", "local2", "local3", "local4", "local5", "local6", "local7"};
    return facility >= 0 && facility < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(facility)] : "";
}

// The journal's priorities on the event types of the report.
const char* eventType(int priority)
{
    if (priority <= 3)
        return "Error";
    if (priority == 4)
        return "Warning";
    return "Information";
}

std::string optionalNumber(const std::optional<int>& value) { return value ? std::to_string(*value) : std::string(); }

} // namespace

std::string prcNotContent(const ListViewText& lvdr)
{
    std::string text = lvdr.tag + crlf() + kSep + crlf();
    if (lvdr.rows.empty())
        return text + "no info";
    std::size_t limit = std::min(lvdr.rows.size(), kListSectionRows);
    if (lowerAscii(lvdr.tag).find("alert") != std::string::npos && lvdr.rows.size() > kAlertSectionRows)
        limit = kAlertSectionRows;
    for (std::size_t r = 0; r < limit; ++r) {
        const auto& row = lvdr.rows[r];
        if (row.size() > lvdr.captions.size())
            throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
        for (std::size_t c = 0; c < row.size(); ++c)
            text += lvdr.captions[c] + ": " + row[c] + " ";
        text += crlf() + kSep + crlf();
    }
    return text;
}

std::string prcWMI_RamInfo(const std::optional<MemoryFigures>& figures)
{
    // The counters that have a nearest figure on this system, in the report's order.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kCounters{{
        {"CacheBytes", "Cached"},
        {"CommitLimit", "CommitLimit"},
        {"CommittedBytes", "Committed_AS"},
    }};
    std::string lines;
    if (figures) {
        for (const auto& [counter, name] : kCounters) {
            if (const auto kb = figure(figures, name))
                lines += crlf() + std::string(counter) + ": " + std::to_string(*kb * 1024);
        }
    }
    return "Random Access Memory Info:" + crlf() + kSep + lines + crlf() + kSep;
}

std::string memorySection(const std::optional<MemoryFigures>& figures, const Locale& locale)
{
    const auto totalKb = static_cast<double>(figure(figures, "MemTotal").value_or(0));
    const auto availableKb =
        static_cast<double>(figure(figures, "MemAvailable").value_or(figure(figures, "MemFree").value_or(0)));
    const auto total = formatNumber(totalKb, "#,###", locale);
    const auto available = formatNumber(availableKb, "#,###", locale);
    const auto used = formatNumber(readBack(total, locale) - readBack(available, locale), "#,###", locale);
    std::string text = "Ramdon Access Memory (RAM) Status" + crlf() + kSep + crlf();
    text += "Total RAM: " + total + " KB" + crlf();
    text += "Used RAM: " + used + " KB" + crlf();
    text += "Avaliable RAM: " + available + " KB" + crlf() + crlf();
    text += prcWMI_RamInfo(figures) + crlf() + kSep + crlf();
    return text;
}

std::string prcWMI_LogOnUser(const std::vector<LoggedOnUser>& users)
{
    std::string lines;
    for (const auto& user : users)
        lines += crlf() + "Domain/Machine = " + user.machine + " " + "Account = " + user.account + crlf();
    return "# of users logged on: " + std::to_string(users.size()) + crlf() + kSep + lines + crlf();
}

std::string prcTimeRunning(std::int64_t millisecondsSinceBoot, const Locale& locale)
{
    // Exact to the millisecond: the whole seconds, then the fraction without trailing zeros.
    const auto whole = millisecondsSinceBoot / 1000;
    auto fraction = millisecondsSinceBoot % 1000;
    std::string seconds = std::to_string(whole);
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof(digits), "%03lld", static_cast<long long>(fraction < 0 ? -fraction : fraction));
        std::string tail(digits);
        while (tail.back() == '0')
            tail.pop_back();
        seconds += locale.decimalSeparator + tail;
    }
    return "System running time: " + crlf() + kSep + crlf() + "Seconds: " + seconds;
}

std::string reportTime(std::int64_t realtimeUsec)
{
    // Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
    auto days = realtimeUsec / 86'400'000'000LL;
    auto inDay = realtimeUsec % 86'400'000'000LL;
    if (inDay < 0) {
        inDay += 86'400'000'000LL;
        --days;
    }
    const auto z = days + 719468;
    const auto era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = z - era * 146097;
    const auto yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const auto doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const auto mp = (5 * doy + 2) / 153;
    const auto day = doy - (153 * mp + 2) / 5 + 1;
    const auto month = mp < 10 ? mp + 3 : mp - 9;
    const auto year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    const auto seconds = inDay / 1'000'000;
    char text[48];
    std::snprintf(text, sizeof(text), "%04lld%02lld%02lld%02lld%02lld%02lld.%06lld+000", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(inDay % 1'000'000));
    return text;
}

std::string prcWMI_NTEvt(std::int16_t intAmt, const std::optional<std::vector<JournalEntry>>& newestFirst)
{
    std::string appended;
    int i = 0;
    auto heading = [&] {
        ++i;
        appended += kSep + crlf() + "Event: " + std::to_string(i) + crlf();
    };
    if (!newestFirst) {
        // The service that cannot be reached still runs the loop's body once; every line of it fails.
        if (i < intAmt)
            heading();
    } else {
        for (const auto& e : *newestFirst) {
            if (i >= intAmt)
                break;
            heading();
            // Data and InsertionStrings have no counterpart in the journal and are left out.
            const std::array<std::pair<const char*, std::string>, 13> lines{{
                {"Category", optionalNumber(e.facility)},
                {"CategoryString", e.facility ? facilityName(*e.facility) : ""},
                {"ComputerName", e.hostName},
                {"EventCode", optionalNumber(e.priority)},
                {"EventIdentifier", e.messageId},
                {"Logfile", e.transport},
                {"Message", e.message},
                {"RecordNumber", std::to_string(e.sequenceNumber)},
                {"SourceName", e.identifier},
                {"TimeGenerated", reportTime(e.realtimeUsec)},
                {"TimeWritten", reportTime(e.realtimeUsec)},
                {"Type", e.priority ? eventType(*e.priority) : ""},
                {"User", e.user},
            }};
            for (const auto& [label, value] : lines)
                appended += std::string(label) + ": " + value + crlf();
        }
    }
    return "Last " + std::to_string(intAmt) + " events:" + crlf() + kSep + crlf() + appended;
}

std::string runningProcessesSection(const std::vector<ProcessEntry>& processes)
{
    const auto count = std::min(processes.size(), kProcessSlots);
    std::string lines;
    for (std::size_t i = 0; i < count; ++i)
        lines += lowerAscii(processes[i].path) + " " + std::to_string(processes[i].handle) + " " + crlf();
    return "Currently Running Processes: " + std::to_string(count) + crlf() + std::string(14, '=') + crlf() + lines +
           std::string(15, '=');
}

std::vector<std::string> delimitedFields(std::string_view text)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    const auto atBreak = [&](std::size_t at) { return at < text.size() && (text[at] == '\r' || text[at] == '\n'); };
    // Steps over one delimiter: a comma, or a line break (CR LF counts as one).
    const auto skipDelimiter = [&] {
        if (i >= text.size())
            return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        ++i;
    };
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::string field;
        if (i < text.size() && text[i] == '"') {
            const auto close = text.find('"', i + 1);
            const auto end = close == std::string_view::npos ? text.size() : close;
            field = std::string(text.substr(i + 1, end - i - 1));
            i = end == text.size() ? end : end + 1;
            // Whatever stands between the closing quote and the delimiter is not part of the field.
            while (i < text.size() && text[i] != ',' && !atBreak(i))
                ++i;
        } else {
            const auto start = i;
            while (i < text.size() && text[i] != ',' && !atBreak(i))
                ++i;
            field = std::string(text.substr(start, i - start));
        }
        fields.push_back(std::move(field));
        skipDelimiter();
    }
    return fields;
}

std::string prcNotOpenCustFile(const std::string& txtCustomContent, const CappedFile& file)
{
    std::string text = "File Contents: " + txtCustomContent + crlf() + kSep + crlf();
    switch (file.status) {
    case CappedFile::Status::Missing:
        text += "File Access Error";
        break;
    case CappedFile::Status::Unreadable:
        throw Error(ErrorKind::Other, "Path/File access error");
    case CappedFile::Status::Read:
        for (const auto& field : delimitedFields(file.bytes))
            text += field + crlf();
        if (file.truncated)
            text += "(The file is larger than " + std::to_string(kCustomFileCap) + " bytes: the rest was left out.)" + crlf();
        break;
    }
    return text + crlf() + kSep;
}

} // namespace volmara
