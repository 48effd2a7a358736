#include "ui/platform/qt_locale.h"

#include <QLocale>

namespace volmara {

namespace {

bool isSpace(char32_t c) { return c == U' ' || c == U'\u00A0' || c == U'\u202F' || c == U'\u2009'; }

// The program writes its numbers into 8-bit files: a separator outside ASCII becomes its
// ASCII look-alike (the no-break spaces a blank), anything else keeps the given default.
char asciiSeparator(const QString& text, char fallback)
{
    const auto chars = text.toUcs4();
    if (chars.size() != 1)
        return fallback;
    const char32_t c = chars.front();
    if (isSpace(c))
        return ' ';
    if (c < 0x80)
        return static_cast<char>(c);
    return fallback;
}

} // namespace

Locale localeFromQt(const QLocale& locale)
{
    Locale result;
    result.decimalSeparator = asciiSeparator(locale.decimalPoint(), result.decimalSeparator);
    result.groupSeparator = asciiSeparator(locale.groupSeparator(), result.groupSeparator);
    if (result.groupSeparator == result.decimalSeparator)
        result.groupSeparator = result.decimalSeparator == ',' ? '.' : ',';
    // An empty designator would make morning and evening read alike in the 12-hour masks
    // the custom watch time compares, so those keep the defaults.
    const auto am = locale.amText().toStdString();
    const auto pm = locale.pmText().toStdString();
    if (!am.empty() && !pm.empty() && am != pm) {
        result.amDesignator = am;
        result.pmDesignator = pm;
    }
    return result;
}

} // namespace volmara
