#include "core/date_time.h"

#include "core/error.h"
#include "core/format.h"

#include <cstddef>
#include <limits>

namespace volmara {

namespace {

constexpr long long secondsPerDay = 86400;

constexpr long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
constexpr long long daysFromCivil(long long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = floorDiv(year, 400);
    const long long yearOfEra = year - era * 400;
    const long long shiftedMonth = month > 2 ? month - 3 : month + 9;
    const long long dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    long long year;
    int month;
    int day;
};

constexpr CivilDate civilFromDays(long long days) {
    days += 719468;
    const long long era = floorDiv(days, 146097);
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(civilFromDays(daysFromCivil(2000, 2, 29)).day == 29);

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

bool isZeroDate(const DateTime& value) {
    const DateTime zero{};
    return value.year == zero.year && value.month == zero.month && value.day == zero.day;
}

// A cursor over the text being read; copied to try one form and fall back to another.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }

    bool accept(char c) {
        if (atEnd() || text_[pos_] != c) {
            return false;
        }
        ++pos_;
        return true;
    }

    std::optional<char> acceptOneOf(std::string_view chars) {
        if (atEnd() || chars.find(text_[pos_]) == std::string_view::npos) {
            return std::nullopt;
        }
        return text_[pos_++];
    }

    bool acceptBlanks() {
        const std::size_t start = pos_;
        while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
        return pos_ != start;
    }

    bool acceptWordIgnoringCase(std::string_view word) {
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (upper(text_[pos_ + i]) != word[i]) {
                return false;
            }
        }
        pos_ += word.size();
        return true;
    }

    // A run of minCount to maxCount decimal digits.
    std::optional<int> number(std::size_t minCount, std::size_t maxCount) {
        int value = 0;
        std::size_t count = 0;
        while (count < maxCount && !atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++count;
        }
        if (count < minCount) {
            return std::nullopt;
        }
        if (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            return std::nullopt;
        }
        return value;
    }

private:
    static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

struct Date {
    int year;
    int month;
    int day;
};

struct Time {
    int hour;
    int minute;
    int second;
};

std::optional<Date> validDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return Date{year, month, day};
}

// "yyyy-mm-dd" or "yyyy/mm/dd" (one separator throughout).
std::optional<Date> readYearFirstDate(Scanner& scanner) {
    const auto year = scanner.number(4, 4);
    if (!year) {
        return std::nullopt;
    }
    const auto separator = scanner.acceptOneOf("-/");
    if (!separator) {
        return std::nullopt;
    }
    const auto month = scanner.number(1, 2);
    if (!month || !scanner.accept(*separator)) {
        return std::nullopt;
    }
    const auto day = scanner.number(1, 2);
    if (!day) {
        return std::nullopt;
    }
    return validDate(*year, *month, *day);
}

// "m/d/yyyy", as a build with the US short date wrote it.
std::optional<Date> readMonthFirstDate(Scanner& scanner) {
    const auto month = scanner.number(1, 2);
    if (!month || !scanner.accept('/')) {
        return std::nullopt;
    }
    const auto day = scanner.number(1, 2);
    if (!day || !scanner.accept('/')) {
        return std::nullopt;
    }
    const auto year = scanner.number(4, 4);
    if (!year) {
        return std::nullopt;
    }
    return validDate(*year, *month, *day);
}

std::optional<Date> readDate(Scanner& scanner) {
    Scanner attempt = scanner;
    if (auto date = readYearFirstDate(attempt)) {
        scanner = attempt;
        return date;
    }
    attempt = scanner;
    if (auto date = readMonthFirstDate(attempt)) {
        scanner = attempt;
        return date;
    }
    return std::nullopt;
}

enum class Clock { TwentyFourHour, TwelveHourAm, TwelveHourPm };

Clock readDesignator(Scanner& scanner) {
    Scanner attempt = scanner;
    if (!attempt.acceptBlanks()) {
        return Clock::TwentyFourHour;
    }
    if (attempt.acceptWordIgnoringCase("AM")) {
        scanner = attempt;
        return Clock::TwelveHourAm;
    }
    if (attempt.acceptWordIgnoringCase("PM")) {
        scanner = attempt;
        return Clock::TwelveHourPm;
    }
    return Clock::TwentyFourHour;
}

// "h:mm[:ss]" with an optional AM/PM designator, or "HH:mm[:ss]" on the 24-hour clock.
std::optional<Time> readTime(Scanner& scanner) {
    const auto hour = scanner.number(1, 2);
    if (!hour || !scanner.accept(':')) {
        return std::nullopt;
    }
    const auto minute = scanner.number(2, 2);
    if (!minute || *minute > 59) {
        return std::nullopt;
    }
    int second = 0;
    if (scanner.accept(':')) {
        const auto seconds = scanner.number(2, 2);
        if (!seconds || *seconds > 59) {
            return std::nullopt;
        }
        second = *seconds;
    }
    const Clock clock = readDesignator(scanner);
    if (clock == Clock::TwentyFourHour) {
        if (*hour > 23) {
            return std::nullopt;
        }
        return Time{*hour, *minute, second};
    }
    if (*hour < 1 || *hour > 12) {
        return std::nullopt;
    }
    // 12 AM is midnight, 12 PM is noon.
    const int hourOfHalfDay = *hour % 12;
    return Time{clock == Clock::TwelveHourPm ? hourOfHalfDay + 12 : hourOfHalfDay, *minute, second};
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

DateTime DateTime::addSeconds(long long seconds) const {
    const long long normalisedYear = year + floorDiv(month - 1, 12);
    const int normalisedMonth = static_cast<int>((month - 1) - floorDiv(month - 1, 12) * 12) + 1;
    const long long days = daysFromCivil(normalisedYear, normalisedMonth, 1) + (day - 1);
    const long long start = days * secondsPerDay + hour * 3600LL + minute * 60LL + second;

    constexpr long long maxValue = std::numeric_limits<long long>::max();
    constexpr long long minValue = std::numeric_limits<long long>::min();
    if ((seconds > 0 && start > maxValue - seconds) || (seconds < 0 && start < minValue - seconds)) {
        throw Error(ErrorKind::Other, "Overflow");
    }
    const long long total = start + seconds;
    const long long totalDays = floorDiv(total, secondsPerDay);
    const long long secondOfDay = total - totalDays * secondsPerDay;

    const CivilDate date = civilFromDays(totalDays);
    if (date.year < std::numeric_limits<int>::min() || date.year > std::numeric_limits<int>::max()) {
        throw Error(ErrorKind::Other, "Overflow");
    }
    DateTime result;
    result.year = static_cast<int>(date.year);
    result.month = date.month;
    result.day = date.day;
    result.hour = static_cast<int>(secondOfDay / 3600);
    result.minute = static_cast<int>(secondOfDay % 3600 / 60);
    result.second = static_cast<int>(secondOfDay % 60);
    return result;
}

DateTime DateTime::timeOfDay(int hour, int minute, int second) {
    DateTime result;
    result.hour = hour;
    result.minute = minute;
    result.second = second;
    return result;
}

std::string defaultDateText(const DateTime& value) {
    return formatDate(value, isZeroDate(value) ? "HH:mm:ss" : "yyyy-mm-dd HH:mm:ss");
}

std::optional<DateTime> parseDateText(std::string_view text) {
    Scanner scanner(trimBlanks(text));
    DateTime result;
    if (const auto date = readDate(scanner)) {
        result.year = date->year;
        result.month = date->month;
        result.day = date->day;
        if (scanner.atEnd()) {
            return result;
        }
        if (!scanner.acceptBlanks()) {
            return std::nullopt;
        }
    }
    const auto time = readTime(scanner);
    if (!time || !scanner.atEnd()) {
        return std::nullopt;
    }
    result.hour = time->hour;
    result.minute = time->minute;
    result.second = time->second;
    return result;
}

} // namespace volmara
