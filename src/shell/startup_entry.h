#pragma once

#include "core/task.h"

#include <optional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

inline constexpr std::string_view kStartUpNotWritten = "Volmara could not be set to load at startup: ";
inline constexpr std::string_view kStartUpNotRemoved = "Volmara could not be kept from loading at startup: ";

// "Load Volmara at Startup.": the "Volmara" value under the Run key holds the program's path
// while the box is ticked and is empty while it is not.
class StartupEntry {
public:
    explicit StartupEntry(AppState& app);
    StartupEntry(const StartupEntry&) = delete;
    StartupEntry& operator=(const StartupEntry&) = delete;

    // Writes the entry for the box's state. Clicks that come while a write runs are written after
    // it, the last one winning.
    void apply(bool ticked);
    bool writing() const { return writing_; }

    // The running program's file; the window system tells it.
    std::string programPath;

private:
    Task<void> write();

    AppState& app_;
    bool writing_ = false;
    std::optional<bool> wanted_;
};

} // namespace volmara
