#include "core/format.h"

#include "core/error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace volmara {

namespace {

// ---- dates ----------------------------------------------------------------------------------

std::string padded(long long value, std::size_t width) {
    const bool negative = value < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude);
    std::string digits(buffer.data(), result.ptr);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
}

int twelveHourClock(int hour) {
    const int hourOfHalfDay = hour % 12;
    return hourOfHalfDay == 0 ? 12 : hourOfHalfDay;
}

// Where the scan stands relative to the last hour field, which decides what "mm" means.
enum class AfterHour { No, Directly, AfterColon };

// ---- numbers --------------------------------------------------------------------------------

// A finite value as its shortest round-trip decimal digits: value = 0.digits x 10^integerDigits.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int integerDigits = 0;
};

DecimalDigits decimalDigitsOf(double value) {
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

    DecimalDigits decimal;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        decimal.negative = true;
        ++pos;
    }
    while (text[pos] != 'e') {
        if (text[pos] != '.') {
            decimal.digits += text[pos];
        }
        ++pos;
    }
    int exponent = 0;
    const char* exponentStart = text.data() + pos + 1;
    if (*exponentStart == '+') {
        ++exponentStart;
    }
    std::from_chars(exponentStart, text.data() + text.size(), exponent);
    decimal.integerDigits = exponent + 1;
    return decimal;
}

bool isAllZeros(std::string_view digits) {
    return digits.find_first_not_of('0') == std::string_view::npos;
}

void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The magnitude times 10^decimals, rounded halves to even on the decimal digits, as digits.
std::string scaledRoundedDigits(const DecimalDigits& decimal, int decimals) {
    const long long kept = static_cast<long long>(decimal.integerDigits) + decimals;
    const auto available = static_cast<long long>(decimal.digits.size());
    if (kept >= available) {
        return decimal.digits + std::string(static_cast<std::size_t>(kept - available), '0');
    }
    if (kept < 0) {
        return "0";
    }
    const auto keptCount = static_cast<std::size_t>(kept);
    std::string result = keptCount == 0 ? std::string("0") : decimal.digits.substr(0, keptCount);
    const char next = decimal.digits[keptCount];
    const bool moreAfterNext = !isAllZeros(std::string_view(decimal.digits).substr(keptCount + 1));
    const bool lastKeptOdd = (result.back() - '0') % 2 != 0;
    if (next > '5' || (next == '5' && (moreAfterNext || lastKeptOdd))) {
        incrementDigits(result);
    }
    return result;
}

std::string withGrouping(std::string_view digits, char separator) {
    std::string result;
    result.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            result += separator;
        }
        result += digits[i];
    }
    return result;
}

std::string_view withoutLeadingZeros(std::string_view digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

bool isDigitPlaceholder(char c) {
    return c == '0' || c == '#';
}

// A number mask split into its literal text around one numeric section.
struct NumberMask {
    std::string_view prefix;
    std::string_view suffix;
    bool hasNumber = false;
    bool grouping = false;
    bool hasPoint = false;
    int minIntegerDigits = 0;
    int decimals = 0;
    int minDecimals = 0;
};

NumberMask parseNumberMask(std::string_view mask) {
    NumberMask parsed;
    std::size_t pos = 0;
    while (pos < mask.size() && !isDigitPlaceholder(mask[pos]) && mask[pos] != '.') {
        ++pos;
    }
    parsed.prefix = mask.substr(0, pos);
    if (pos == mask.size()) {
        return parsed;
    }
    parsed.hasNumber = true;

    // A '0' makes every placeholder to its right a digit always shown.
    int placeholdersSinceFirstZero = 0;
    bool zeroSeen = false;
    for (; pos < mask.size() && (isDigitPlaceholder(mask[pos]) || mask[pos] == ','); ++pos) {
        if (mask[pos] == ',') {
            parsed.grouping = true;
            continue;
        }
        zeroSeen = zeroSeen || mask[pos] == '0';
        placeholdersSinceFirstZero += zeroSeen ? 1 : 0;
    }
    parsed.minIntegerDigits = placeholdersSinceFirstZero;

    if (pos < mask.size() && mask[pos] == '.') {
        parsed.hasPoint = true;
        for (++pos; pos < mask.size() && isDigitPlaceholder(mask[pos]); ++pos) {
            ++parsed.decimals;
            if (mask[pos] == '0') {
                parsed.minDecimals = parsed.decimals;
            }
        }
    }
    parsed.suffix = mask.substr(pos);
    return parsed;
}

// An empty mask shows the value's own digits, as many as it needs.
std::string generalNumber(const DecimalDigits& decimal, const Locale& locale) {
    const int fractionDigits =
        std::max(0, static_cast<int>(decimal.digits.size()) - decimal.integerDigits);
    const std::string scaled = scaledRoundedDigits(decimal, fractionDigits);
    std::string digits = scaled;
    if (digits.size() <= static_cast<std::size_t>(fractionDigits)) {
        digits.insert(0, static_cast<std::size_t>(fractionDigits) + 1 - digits.size(), '0');
    }
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(fractionDigits);
    std::string text = decimal.negative && !isAllZeros(scaled) ? "-" : "";
    text += digits.substr(0, integerLength);
    if (fractionDigits > 0) {
        text += locale.decimalSeparator;
        text += digits.substr(integerLength);
    }
    return text;
}

void requireFinite(double value) {
    // Where the value came from a division by zero or an overflow, report it as the arithmetic would.
    if (!std::isfinite(value)) {
        throw Error(ErrorKind::Other, "Overflow");
    }
}

// ---- reading numbers ------------------------------------------------------------------------

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Rewrites a lenient number text into the plain form from_chars reads ("-1234.5e3"), or nothing.
std::optional<std::string> plainNumberText(std::string_view text, const Locale& locale) {
    std::string plain;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') {
            plain += '-';
        }
        ++pos;
    }
    int mantissaDigits = 0;
    for (; pos < text.size(); ++pos) {
        if (isDigit(text[pos])) {
            plain += text[pos];
            ++mantissaDigits;
        } else if (text[pos] != locale.groupSeparator || mantissaDigits == 0 ||
                   text[pos] == locale.decimalSeparator) {
            break;
        }
    }
    if (pos < text.size() && text[pos] == locale.decimalSeparator) {
        plain += '.';
        for (++pos; pos < text.size() && isDigit(text[pos]); ++pos) {
            plain += text[pos];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        plain += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            plain += text[pos++];
        }
        int exponentDigits = 0;
        for (; pos < text.size() && isDigit(text[pos]); ++pos) {
            plain += text[pos];
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return plain;
}

} // namespace

std::string formatDate(const DateTime& value, std::string_view mask, const Locale& locale) {
    const bool twelveHour = mask.find("AMPM") != std::string_view::npos;
    std::string text;
    AfterHour afterHour = AfterHour::No;
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const std::string_view rest = mask.substr(pos);
        AfterHour next = AfterHour::No;
        if (rest.starts_with("AMPM")) {
            text += value.hour < 12 ? locale.amDesignator : locale.pmDesignator;
            pos += 4;
        } else if (rest.starts_with("yyyy")) {
            text += padded(value.year, 4);
            pos += 4;
        } else if (rest.starts_with("yy")) {
            text += padded((value.year % 100 + 100) % 100, 2);
            pos += 2;
        } else if (rest.starts_with("mm")) {
            text += padded(afterHour == AfterHour::No ? value.month : value.minute, 2);
            pos += 2;
        } else if (rest.starts_with("dd")) {
            text += padded(value.day, 2);
            pos += 2;
        } else if (rest.starts_with("hh")) {
            text += padded(twelveHour ? twelveHourClock(value.hour) : value.hour, 2);
            next = AfterHour::Directly;
            pos += 2;
        } else if (rest.starts_with("HH")) {
            text += padded(value.hour, 2);
            next = AfterHour::Directly;
            pos += 2;
        } else if (rest.starts_with("ss")) {
            text += padded(value.second, 2);
            pos += 2;
        } else {
            if (rest.front() == ':' && afterHour == AfterHour::Directly) {
                next = AfterHour::AfterColon;
            }
            text += rest.front();
            ++pos;
        }
        afterHour = next;
    }
    return text;
}

std::string formatNumber(double value, std::string_view mask, const Locale& locale) {
    requireFinite(value);
    const DecimalDigits decimal = decimalDigitsOf(value);
    if (mask.empty()) {
        return generalNumber(decimal, locale);
    }
    const NumberMask parsed = parseNumberMask(mask);
    if (!parsed.hasNumber) {
        return std::string(mask);
    }

    std::string scaled = scaledRoundedDigits(decimal, parsed.decimals);
    const auto decimals = static_cast<std::size_t>(parsed.decimals);
    if (scaled.size() <= decimals) {
        scaled.insert(0, decimals + 1 - scaled.size(), '0');
    }
    const std::string_view integerPart =
        withoutLeadingZeros(std::string_view(scaled).substr(0, scaled.size() - decimals));
    std::string fraction = scaled.substr(scaled.size() - decimals);
    while (fraction.size() > static_cast<std::size_t>(parsed.minDecimals) && fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string integerDigits(integerPart);
    const auto minIntegerDigits = static_cast<std::size_t>(parsed.minIntegerDigits);
    if (integerDigits.size() < minIntegerDigits) {
        integerDigits.insert(0, minIntegerDigits - integerDigits.size(), '0');
    }

    // A value that rounds to zero shows no sign.
    std::string text = decimal.negative && !isAllZeros(scaled) ? "-" : "";
    text += parsed.prefix;
    text += parsed.grouping ? withGrouping(integerDigits, locale.groupSeparator) : integerDigits;
    if (parsed.hasPoint) {
        text += locale.decimalSeparator;
        text += fraction;
    }
    text += parsed.suffix;
    return text;
}

std::string groupDigits(std::int64_t value, const Locale& locale) {
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? 0ULL - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude);
    const std::string grouped =
        withGrouping(std::string_view(buffer.data(), result.ptr), locale.groupSeparator);
    return negative ? "-" + grouped : grouped;
}

std::optional<double> parseNumber(std::string_view text, const Locale& locale) {
    const auto plain = plainNumberText(trimBlanks(text), locale);
    if (!plain) {
        return std::nullopt;
    }
    double value = 0;
    const auto result = std::from_chars(plain->data(), plain->data() + plain->size(), value);
    if (result.ec != std::errc{} || result.ptr != plain->data() + plain->size()) {
        return std::nullopt;
    }
    return value;
}

bool isNumeric(std::string_view text, const Locale& locale) {
    return parseNumber(text, locale).has_value();
}

std::int64_t roundHalfEven(double value) {
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (!(value >= -limit && value < limit)) {
        throw Error(ErrorKind::Other, "Overflow");
    }
    double whole = std::floor(value);
    const double fraction = value - whole; // exact for every double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<std::int64_t>(whole);
}

std::int64_t bytesToKb(std::uint64_t bytes) {
    const std::uint64_t whole = bytes / 1024;
    const std::uint64_t remainder = bytes % 1024;
    const bool roundUp = remainder > 512 || (remainder == 512 && whole % 2 != 0);
    return static_cast<std::int64_t>(whole + (roundUp ? 1 : 0));
}

} // namespace volmara
