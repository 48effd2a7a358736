#include "core/watch_entry.h"

#include "core/format.h"
#include "core/path_rules.h"

namespace volmara {

bool WatchEntry::notAvailable() const { return containsIgnoreCase(freeText, "n/a"); }

std::optional<double> cellNumber(std::string_view cell, const Locale& locale)
{
    std::string text(cell);
    if (const auto at = text.find(" KB"); at != std::string::npos)
        text.erase(at, 3);
    return parseNumber(text, locale);
}

std::string kbCell(std::string_view number) { return std::string(number) + " KB"; }

} // namespace volmara
