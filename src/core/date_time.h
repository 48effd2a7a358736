#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

// A local calendar date and time of day, as the clock reports it.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;

    DateTime addSeconds(long long seconds) const;
    DateTime addMinutes(long long minutes) const { return addSeconds(minutes * 60); }
    int secondOfDay() const { return hour * 3600 + minute * 60 + second; }
    static DateTime timeOfDay(int hour, int minute, int second = 0);
};

// The program's own default date text ("yyyy-mm-dd HH:mm:ss", or "HH:mm:ss" for a bare time of day):
// what set.dat stores for the pickers and what the bookkeeping keeps as "measured at".
std::string defaultDateText(const DateTime& value);
// Reads the default text back, and also the older forms another build may have written
// ("m/d/yyyy h:mm:ss AM", "h:mm:ss PM", "yyyy/mm/dd", ...). nullopt when it is no date.
std::optional<DateTime> parseDateText(std::string_view text);

} // namespace volmara
