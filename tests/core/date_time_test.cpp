#include "core/date_time.h"

#include "core/error.h"
#include "core/format.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string_view>

namespace volmara {

// Readable failure messages for the tables below.
void PrintTo(const DateTime& value, std::ostream* out) {
    *out << value.year << '-' << value.month << '-' << value.day << ' ' << value.hour << ':' << value.minute
         << ':' << value.second;
}

namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    DateTime value;
    value.year = year;
    value.month = month;
    value.day = day;
    value.hour = hour;
    value.minute = minute;
    value.second = second;
    return value;
}

// Month 03 and minute 05 differ, so a test can tell which one a "mm" stands for.
const DateTime afternoon = at(2024, 3, 14, 17, 5, 9);

TEST(FormatDate, MasksOfTheProgram) {
    struct Case {
        std::string_view mask;
        std::string_view expected;
    };
    const Case cases[] = {
        {"mm/dd HH:mm:ss", "03/14 17:05:09"},
        {"mm/dd/yy", "03/14/24"},
        {"hh:mm:ss", "17:05:09"},
        {"hh:mm:ss mm/dd", "17:05:09 03/14"},
        {"yyyymmdd HH:mm", "20240314 17:05"},
        {"yyyymmdd HH:mm:ss", "20240314 17:05:09"},
        {"yyyy/mm/dd HH:mm:ss", "2024/03/14 17:05:09"},
        {"yyyy/mm/dd hh:mm AMPM", "2024/03/14 05:05 PM"},
        {"hh:mm AMPM", "05:05 PM"},
        {"HH:mm", "17:05"},
        {"mm/dd HH:mm", "03/14 17:05"},
        {"yyyymmdd hh:mm", "20240314 17:05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(formatDate(afternoon, c.mask), c.expected);
    }
}

TEST(FormatDate, MinutesOnlyRightAfterAnHourField) {
    struct Case {
        std::string_view mask;
        std::string_view expected;
    };
    const Case cases[] = {
        {"HHmm", "1705"},
        {"hhmm", "1705"},
        {"HH:mm", "17:05"},
        {"HH mm", "17 03"},
        {"HH::mm", "17::03"},
        {"mm", "03"},
        {"ss:mm", "09:03"},
        {"HH:mm:ss mm", "17:05:09 03"},
        {"HH:mmmm", "17:0503"},
        {"yyyy-mm-dd", "2024-03-14"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(formatDate(afternoon, c.mask), c.expected);
    }
}

TEST(FormatDate, TwelveHourClockAtTheEdgeHours) {
    struct Case {
        int hour;
        int minute;
        std::string_view expected;
    };
    const Case cases[] = {
        {0, 0, "12:00 AM"},  {0, 30, "12:30 AM"}, {1, 0, "01:00 AM"},  {11, 59, "11:59 AM"},
        {12, 0, "12:00 PM"}, {12, 30, "12:30 PM"}, {13, 0, "01:00 PM"}, {23, 59, "11:59 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hour);
        EXPECT_EQ(formatDate(at(2024, 3, 14, c.hour, c.minute), "hh:mm AMPM"), c.expected);
    }
}

TEST(FormatDate, AmpmLeavesTheCapitalHourOnTheTwentyFourHourClock) {
    EXPECT_EQ(formatDate(afternoon, "HH:mm AMPM"), "17:05 PM");
    EXPECT_EQ(formatDate(afternoon, "AMPM hh HH"), "PM 05 17");
}

TEST(FormatDate, UsesTheLocaleDesignators) {
    const Locale german{',', '.', "vorm.", "nachm."};
    EXPECT_EQ(formatDate(afternoon, "hh:mm AMPM", german), "05:05 nachm.");
    EXPECT_EQ(formatDate(at(2024, 3, 14, 9, 5), "hh:mm AMPM", german), "09:05 vorm.");
}

TEST(FormatDate, OtherCharactersStandForThemselves) {
    EXPECT_EQ(formatDate(afternoon, "Checked: dd.mm.yyyy"), "Checked: 14.03.2024");
    EXPECT_EQ(formatDate(afternoon, "y m d h s M"), "y m d h s M");
    EXPECT_EQ(formatDate(afternoon, "yyyyy"), "2024y");
}

TEST(FormatDate, PadsYears) {
    EXPECT_EQ(formatDate(at(5, 1, 2), "yyyy yy"), "0005 05");
    EXPECT_EQ(formatDate(at(2000, 1, 2), "yy"), "00");
    EXPECT_EQ(formatDate(at(1899, 12, 30), "yyyymmdd yy"), "18991230 99");
}

TEST(DateTime, AddSecondsAcrossDayMonthAndYearEnds) {
    struct Case {
        DateTime start;
        long long seconds;
        DateTime expected;
    };
    const Case cases[] = {
        {at(2024, 3, 14, 17, 5, 9), 0, at(2024, 3, 14, 17, 5, 9)},
        {at(2024, 3, 14, 23, 59, 59), 1, at(2024, 3, 15, 0, 0, 0)},
        {at(2024, 2, 28, 23, 59, 59), 1, at(2024, 2, 29, 0, 0, 0)},
        {at(2023, 2, 28, 23, 59, 59), 1, at(2023, 3, 1, 0, 0, 0)},
        {at(2000, 2, 28, 12, 0, 0), 86400, at(2000, 2, 29, 12, 0, 0)},
        {at(2100, 2, 28, 12, 0, 0), 86400, at(2100, 3, 1, 12, 0, 0)},
        {at(2024, 4, 30, 23, 0, 0), 3600, at(2024, 5, 1, 0, 0, 0)},
        {at(2024, 12, 31, 23, 59, 59), 1, at(2025, 1, 1, 0, 0, 0)},
        {at(2025, 1, 1, 0, 0, 0), -1, at(2024, 12, 31, 23, 59, 59)},
        {at(2024, 3, 1, 0, 0, 0), -1, at(2024, 2, 29, 23, 59, 59)},
        {at(2024, 1, 1), 366LL * 86400, at(2025, 1, 1)},
        {at(2023, 1, 1), 365LL * 86400, at(2024, 1, 1)},
        {at(1899, 12, 30), 2 * 86400, at(1900, 1, 1)},
        {at(1899, 12, 30), -1, at(1899, 12, 29, 23, 59, 59)},
        {at(1970, 1, 1), 1000000000, at(2001, 9, 9, 1, 46, 40)},
        {at(2024, 3, 14, 17, 5, 9), -86400LL * 365 * 400, at(1624, 6, 19, 17, 5, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.start) + " + " + std::to_string(c.seconds));
        EXPECT_EQ(c.start.addSeconds(c.seconds), c.expected);
    }
}

TEST(DateTime, AddMinutesCarriesIntoTheNextDay) {
    EXPECT_EQ(at(2024, 5, 14, 23, 0).addMinutes(90), at(2024, 5, 15, 0, 30));
    EXPECT_EQ(at(2024, 5, 14, 0, 0).addMinutes(-1), at(2024, 5, 13, 23, 59));
}

// Steps one day at a time through four centuries and checks each step against a plain calendar.
TEST(DateTime, AddSecondsAgreesWithTheCalendarDayByDay) {
    auto daysIn = [](int year, int month) {
        constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 2 && leap ? 29 : lengths[month - 1];
    };
    DateTime expected = at(1899, 12, 30, 6, 30, 0);
    DateTime walked = expected;
    for (int step = 0; step < 146097 + 400; ++step) {
        if (++expected.day > daysIn(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
        walked = walked.addSeconds(86400);
        ASSERT_EQ(walked, expected) << "step " << step;
    }
}

TEST(DateTime, AddSecondsBeyondTheRangeIsAnOverflow) {
    EXPECT_THROW((void)at(2024, 1, 1).addSeconds(std::numeric_limits<long long>::max()), Error);
    EXPECT_THROW((void)at(2024, 1, 1).addSeconds(std::numeric_limits<long long>::min()), Error);
    EXPECT_THROW((void)at(2024, 1, 1).addSeconds(86400LL * 366 * 3000000000LL), Error);
}

TEST(DateTime, TimeOfDayIsOnTheZeroDate) {
    const DateTime value = DateTime::timeOfDay(17, 5);
    EXPECT_EQ(value, at(1899, 12, 30, 17, 5, 0));
    EXPECT_EQ(value.secondOfDay(), 17 * 3600 + 5 * 60);
    EXPECT_LT(DateTime::timeOfDay(9, 59, 59), DateTime::timeOfDay(10, 0, 0));
}

TEST(DefaultDateText, ShowsDateAndTimeOrTheBareTime) {
    EXPECT_EQ(defaultDateText(afternoon), "2024-03-14 17:05:09");
    EXPECT_EQ(defaultDateText(at(2024, 3, 14)), "2024-03-14 00:00:00");
    EXPECT_EQ(defaultDateText(DateTime::timeOfDay(7, 5, 9)), "07:05:09");
    EXPECT_EQ(defaultDateText(DateTime{}), "00:00:00");
    EXPECT_EQ(defaultDateText(at(1899, 12, 31)), "1899-12-31 00:00:00");
}

TEST(ParseDateText, ReadsTheOwnAndTheOlderForms) {
    struct Case {
        std::string_view text;
        DateTime expected;
    };
    const Case cases[] = {
        {"2024-03-14 17:05:09", at(2024, 3, 14, 17, 5, 9)},
        {"2024-02-29 00:00:00", at(2024, 2, 29)},
        {"17:05:09", DateTime::timeOfDay(17, 5, 9)},
        {"17:05", DateTime::timeOfDay(17, 5)},
        {"7:05", DateTime::timeOfDay(7, 5)},
        {"3/14/2024 5:05:09 PM", at(2024, 3, 14, 17, 5, 9)},
        {"12/31/1999 11:59:59 PM", at(1999, 12, 31, 23, 59, 59)},
        {"3/14/2024 12:00:00 AM", at(2024, 3, 14, 0, 0, 0)},
        {"3/14/2024 12:30:00 PM", at(2024, 3, 14, 12, 30, 0)},
        {"3/14/2024", at(2024, 3, 14)},
        {"03/04/2024", at(2024, 3, 4)},
        {"5:05:09 PM", DateTime::timeOfDay(17, 5, 9)},
        {"5:05:09 AM", DateTime::timeOfDay(5, 5, 9)},
        {"12:05 AM", DateTime::timeOfDay(0, 5)},
        {"12:05 PM", DateTime::timeOfDay(12, 5)},
        {"11:05 pm", DateTime::timeOfDay(23, 5)},
        {"2024/03/14 17:05:09", at(2024, 3, 14, 17, 5, 9)},
        {"2024/03/14", at(2024, 3, 14)},
        {"2024-03-14", at(2024, 3, 14)},
        {"  17:05:09 ", DateTime::timeOfDay(17, 5, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDateText(c.text), std::optional<DateTime>(c.expected));
    }
}

TEST(ParseDateText, RefusesWhatIsNoDate) {
    for (const std::string_view text : {
             "",
             "   ",
             "abc",
             "17",
             "2024-02-30 10:00:00",
             "2023-02-29",
             "2024-13-01",
             "2024-00-10",
             "13/01/2024",
             "3/14/24",
             "2024-03/14",
             "24:00:00",
             "12:60",
             "12:00:60",
             "12:5",
             "123:00",
             "0:30 AM",
             "13:00 PM",
             "2024-03-14 17:05:09 extra",
             "2024-03-14T17:05:09",
             "2024-03-1417:05:09",
             "17:05:09:00",
             "17:05:09 XM",
             "20240314 17:05",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseDateText(text), std::nullopt);
    }
}

TEST(ParseDateText, ReadsBackTheDefaultText) {
    for (const DateTime& value : {afternoon, at(2024, 2, 29), at(1899, 12, 31, 23, 59, 59), at(9999, 12, 31),
                                  DateTime::timeOfDay(0, 0), DateTime::timeOfDay(23, 59, 59)}) {
        SCOPED_TRACE(testing::PrintToString(value));
        EXPECT_EQ(parseDateText(defaultDateText(value)), std::optional<DateTime>(value));
    }
}

} // namespace
} // namespace volmara
