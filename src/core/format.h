#pragma once

#include "core/date_time.h"
#include "core/locale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

// Date masks: "yyyy" "yy" "mm" (minutes right after an hour field, with or without ':' between),
// "dd" "hh" "HH" "ss", "AMPM" (switches hh to the 12-hour clock); everything else is literal.
std::string formatDate(const DateTime& value, std::string_view mask, const Locale& locale = {});

// Number masks: '0' digit always shown, '#' digit shown when significant, ',' grouping,
// '.' decimal point; rounded halves-to-even to the mask's decimals ("##.##" gives ".5").
std::string formatNumber(double value, std::string_view mask, const Locale& locale = {});

// Whole number with the locale's digit grouping ("1,234,567"), as the watch list shows KB.
std::string groupDigits(std::int64_t value, const Locale& locale = {});

// Lenient numeric reading of a text as the program's readers do it: blanks around, a sign,
// grouping separators and one decimal separator are accepted. nullopt when it is not a number.
std::optional<double> parseNumber(std::string_view text, const Locale& locale = {});
bool isNumeric(std::string_view text, const Locale& locale = {});

// Conversion of a value to a whole number, halves to even (2.5 -> 2, 3.5 -> 4).
std::int64_t roundHalfEven(double value);

// Bytes to whole KB (1024), halves to even.
std::int64_t bytesToKb(std::uint64_t bytes);

} // namespace volmara
