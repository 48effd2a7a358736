#pragma once

#include <string>

namespace volmara {

// The separators and designators the user's locale gives; the UI reads them from the system,
// tests fix them.
struct Locale {
    char decimalSeparator = '.';
    char groupSeparator = ',';
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
};

} // namespace volmara
