#pragma once

#include "core/locale.h"
#include "platform/system_info.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

inline constexpr std::string_view kReportSeparator = "=============";

// What the list section reads of a list view: its tag (the section's title), its column
// captions and its rows, each row's values in column order.
struct ListViewText {
    std::string tag;
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> rows;
};

// The most rows a list section reports, and the most an alert list reports.
inline constexpr std::size_t kListSectionRows = 150;
inline constexpr std::size_t kAlertSectionRows = 15;
// The most processes the running-processes section lists.
inline constexpr std::size_t kProcessSlots = 201;
// The most of the custom text file that goes into a report.
inline constexpr std::size_t kCustomFileCap = std::size_t{1} << 20;

// `prcNotContent(lvdr)`. A row with more values than the list has captions is an error
// (IndexOutOfRange), which abandons the composition.
std::string prcNotContent(const ListViewText& lvdr);

// The memory section: physical memory from "MemTotal" and "MemAvailable" (else "MemFree"),
// then the counters of `prcWMI_RamInfo`.
std::string memorySection(const std::optional<MemoryFigures>& figures, const Locale& locale);
// The memory counters, mapped from the system's figures; a counter the system has no figure
// for is left out. Without figures there is no instance: heading and closing lines only.
std::string prcWMI_RamInfo(const std::optional<MemoryFigures>& figures);

std::string prcWMI_LogOnUser(const std::vector<LoggedOnUser>& users);
std::string prcTimeRunning(std::int64_t millisecondsSinceBoot, const Locale& locale);
// nullopt: no journal, which reads as a service that cannot be reached.
std::string prcWMI_NTEvt(std::int16_t intAmt, const std::optional<std::vector<JournalEntry>>& newestFirst);
std::string runningProcessesSection(const std::vector<ProcessEntry>& processes);

// `prcNotOpenCustFile` from the box's text and what reading the trimmed path gave. A file that
// exists but cannot be read is an error, which abandons the composition.
std::string prcNotOpenCustFile(const std::string& txtCustomContent, const CappedFile& file);

// The fields of a text read as delimited fields: a field ends at a comma or a line break, a
// field in double quotes keeps its commas and loses its quotes, leading blanks are dropped.
std::vector<std::string> delimitedFields(std::string_view text);

// A journal time as the report shows it: "yyyymmddHHMMSS.mmmmmm+000" (UTC).
std::string reportTime(std::int64_t realtimeUsec);

} // namespace volmara
