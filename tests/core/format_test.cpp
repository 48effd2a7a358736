#include "core/format.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {
namespace {

const Locale german{',', '.', "vorm.", "nachm."};

struct NumberCase {
    double value;
    std::string_view mask;
    std::string_view expected;
};

void expectFormats(const std::vector<NumberCase>& cases, const Locale& locale = {}) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " mask \"" << c.mask << "\"");
        EXPECT_EQ(formatNumber(c.value, c.mask, locale), c.expected);
    }
}

TEST(FormatNumber, OptionalDigitsOnBothSides) {
    // Rate and folder size: no leading zero, and the point stays even when nothing follows it.
    expectFormats({
        {0.5, "##.##", ".5"},
        {0.25, "##.##", ".25"},
        {2.0, "##.##", "2."},
        {0.0, "##.##", "."},
        {0.004, "##.##", "."},
        {-0.004, "##.##", "."},
        {-100.0, "##.##", "-100."},
        {-0.5, "##.##", "-.5"},
        {12.5, "##.##", "12.5"},
        {123456.78, "##.##", "123456.78"},
        {1.999, "##.##", "2."},
    });
}

TEST(FormatNumber, RoundsHalvesToEvenOnTheDecimalText) {
    // 2.675 and 0.125 are ties only in their decimal text; binary rounding would disagree.
    expectFormats({
        {0.125, "#0.0#", "0.12"},
        {0.375, "#0.0#", "0.38"},
        {2.675, "#0.0#", "2.68"},
        {2.665, "#0.0#", "2.66"},
        {1.005, "##.##", "1."},
        {1.015, "##.##", "1.02"},
        {12.345, "##.##", "12.34"},
        {0.25, "##,##0.0", "0.2"},
        {0.35, "##,##0.0", "0.4"},
        {0.2500001, "##,##0.0", "0.3"},
        {45.25, "###.0", "45.2"},
        {45.35, "###.0", "45.4"},
        {0.5, "#,###", ""},
        {1.5, "#,###", "2"},
        {2.5, "#,###", "2"},
        {1536.5, "###,##0", "1,536"},
        {1537.5, "###,##0", "1,538"},
        {42.5, "###", "42"},
        {43.5, "###", "44"},
    });
}

TEST(FormatNumber, CarriesIntoNewIntegerDigitsAndGroups) {
    expectFormats({
        {999.95, "##,##0.0", "1,000.0"},
        {99.96, "###.0", "100.0"},
        {999.5, "#,###", "1,000"},
        {9.999, "#0.0#", "10.0"},
        {0.995, "##.##", "1."},
        {0.996, "##.##", "1."},
    });
}

TEST(FormatNumber, MasksOfTheProgram) {
    expectFormats({
        // Tray summary and KB labels.
        {1234.5, "##,##0.0", "1,234.5"},
        {0.0, "##,##0.0", "0.0"},
        {1.0, "##,##0.0", "1.0"},
        {1234567.8, "##,##0.0", "1,234,567.8"},
        {-1234.5, "##,##0.0", "-1,234.5"},
        // MB and GB labels beside the trigger.
        {1.0, "#0.0#", "1.0"},
        {1.25, "#0.0#", "1.25"},
        {1.2, "#0.0#", "1.2"},
        {0.05, "#0.0#", "0.05"},
        {0.001, "#0.0#", "0.0"},
        {1e-10, "#0.0#", "0.0"},
        {50000.0 / 1000, "#0.0#", "50.0"},
        {1234.5, "#0.0#", "1234.5"},
        // Memory report.
        {0.0, "#,###", ""},
        {7.0, "#,###", "7"},
        {1234567.0, "#,###", "1,234,567"},
        {16384000.4, "#,###", "16,384,000"},
        // Drive information and drive window.
        {0.0, "###,##0", "0"},
        {12.0, "###,##0", "12"},
        {476837.2, "###,##0", "476,837"},
        {0.0, "###", ""},
        {12345.0, "###", "12345"},
        {0.5, "###.0", ".5"},
        {0.0, "###.0", ".0"},
        {100.0, "###.0", "100.0"},
        {0.0, "###,###,###,###,###,###,###", ""},
        {1200000.0, "###,###,###,###,###,###,###", "1,200,000"},
        {500107862016.0, "###,###,###,###,###,###,###", "500,107,862,016"},
        {1e20, "###,###,###,###,###,###,###", "100,000,000,000,000,000,000"},
        {1e27, "###,###,###", "1,000,000,000,000,000,000,000,000,000"},
    });
}

TEST(FormatNumber, ZerosPadFromTheFirstZeroOfTheMask) {
    expectFormats({
        {42.0, "0000", "0042"},
        {5.0, "0#", "05"},
        {1.5, "00.00", "01.50"},
        {1.5, "0.#0", "1.50"},
        {12345.0, "0,000", "12,345"},
        {5.0, "0,000", "0,005"},
    });
}

TEST(FormatNumber, LiteralTextAroundTheNumberAndEmptyMask) {
    expectFormats({
        {12.5, "#0.0 KB", "12.5 KB"},
        {-3.0, "[0]", "-[3]"},
        {7.0, "none", "none"},
        {1234.5, "", "1234.5"},
        {-0.001, "", "-0.001"},
        {1e20, "", "100000000000000000000"},
        {0.0, "", "0"},
    });
}

TEST(FormatNumber, UsesTheLocaleSeparators) {
    expectFormats(
        {
            {1234.5, "##,##0.0", "1.234,5"},
            {1.25, "#0.0#", "1,25"},
            {0.5, "##.##", ",5"},
            {1234567.0, "#,###", "1.234.567"},
            {1234.5, "", "1234,5"},
        },
        german);
}

TEST(FormatNumber, NonFiniteValuesAreAnOverflow) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const double value : {infinity, -infinity, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        try {
            (void)formatNumber(value, "##.##");
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Other);
            EXPECT_EQ(error.description(), "Overflow");
        }
    }
}

TEST(GroupDigits, GroupsThousandsWithTheLocaleSeparator) {
    struct Case {
        std::int64_t value;
        std::string_view expected;
    };
    const Case cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {123456, "123,456"},
        {1234567, "1,234,567"},
        {-1234567, "-1,234,567"},
        {-999, "-999"},
        {std::numeric_limits<std::int64_t>::max(), "9,223,372,036,854,775,807"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(groupDigits(c.value), c.expected);
    }
    EXPECT_EQ(groupDigits(1234567, german), "1.234.567");
}

TEST(ParseNumber, ReadsWhatTheReadersAccept) {
    struct Case {
        std::string_view text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"42", 42.0},
        {" 42 ", 42.0},
        {"\t42\t", 42.0},
        {"1,234", 1234.0},
        {"1,234,567", 1234567.0},
        {"12,34", 1234.0},
        {"1,234.5", 1234.5},
        {"-7.5", -7.5},
        {"+3", 3.0},
        {".5", 0.5},
        {"100.", 100.0},
        {"-100.", -100.0},
        {"1e3", 1000.0},
        {"1.5E-2", 0.015},
        {"2E+2", 200.0},
        {"007", 7.0},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"12 KB", std::nullopt},
        {"1 2", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"- 5", std::nullopt},
        {"--5", std::nullopt},
        {",123", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2,3", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"e5", std::nullopt},
        {"1e999", std::nullopt},
        {"N/A, drive not ready", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\"");
        EXPECT_EQ(parseNumber(c.text), c.expected);
        EXPECT_EQ(isNumeric(c.text), c.expected.has_value());
    }
}

TEST(ParseNumber, UsesTheLocaleSeparators) {
    EXPECT_EQ(parseNumber("1.234,5", german), 1234.5);
    EXPECT_EQ(parseNumber("1.234.567", german), 1234567.0);
    EXPECT_EQ(parseNumber(",5", german), 0.5);
    EXPECT_FALSE(parseNumber("1,2,3", german).has_value());
}

TEST(ParseNumber, ReadsBackFormattedText) {
    for (const double value : {0.5, 1234.5, 16384000.0, -100.0, 2.675}) {
        for (const std::string_view mask : {"##,##0.0", "#,###", "##.##", "#0.0#"}) {
            SCOPED_TRACE(testing::Message() << value << " \"" << mask << "\"");
            for (const Locale& locale : {Locale{}, german}) {
                const std::string text = formatNumber(value, mask, locale);
                if (text.empty()) {
                    continue;
                }
                const auto back = parseNumber(text, locale);
                ASSERT_TRUE(back.has_value()) << text;
                EXPECT_EQ(formatNumber(*back, mask, locale), text);
            }
        }
    }
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    struct Case {
        double value;
        std::int64_t expected;
    };
    const Case cases[] = {
        {0.0, 0},
        {0.4, 0},
        {0.5, 0},
        {0.6, 1},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {2.4999999, 2},
        {2.5000001, 3},
        {-0.4, 0},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {-3.5, -4},
        {-2.6, -3},
        {4503599627370495.5, 4503599627370496},
        {4503599627370494.5, 4503599627370494},
        {-9223372036854775808.0, std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(roundHalfEven(c.value), c.expected);
    }
}

TEST(RoundHalfEven, ValuesBeyondTheRangeAreAnOverflow) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double value : {9223372036854775808.0, -9223372036854777856.0, 1e300, infinity, nan}) {
        SCOPED_TRACE(value);
        EXPECT_THROW((void)roundHalfEven(value), Error);
    }
}

TEST(BytesToKb, DividesBy1024WithHalvesToEven) {
    struct Case {
        std::uint64_t bytes;
        std::int64_t expected;
    };
    const Case cases[] = {
        {0, 0},
        {511, 0},
        {512, 0},
        {513, 1},
        {1024, 1},
        {1535, 1},
        {1536, 2},
        {2560, 2},
        {2561, 3},
        {3584, 4},
        {1536000, 1500},
        {std::numeric_limits<std::uint64_t>::max(), 18014398509481984},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(bytesToKb(c.bytes), c.expected);
    }
}

} // namespace
} // namespace volmara
