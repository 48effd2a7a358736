#pragma once

#include "core/task.h"
#include "platform/registry.h"

#include <string>
#include <string_view>

namespace volmara {

class AppState;

inline constexpr RegRoot HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr RegRoot HKEY_CURRENT_USER = 0x80000001;
inline constexpr RegRoot HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr RegRoot HKEY_USERS = 0x80000003;
inline constexpr RegRoot HKEY_PERFORMANCE_DATA = 0x80000004;
inline constexpr RegRoot HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr RegRoot HKEY_DYN_DATA = 0x80000006;

// Where the start-up entry lives, and its value name.
inline constexpr std::string_view kRunKeyPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunSubKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kStartUpValueName = "Volmara";

// The root handle of an exact, case-sensitive root name; 0 for any other text.
RegRoot RegRootFromName(std::string_view name);

struct RegKeySplit {
    RegRoot root = 0;
    std::string subKey;        // the path unchanged when the format is wrong
    bool formatError = false;  // not "HKEY_..." or ending in a backslash
    std::string message;       // the message the format error shows
};

// "ROOT\sub\key" into its root handle and sub-key; a root name alone means the root itself.
RegKeySplit RegSplitKey(std::string_view path);

// Writes a text value under an existing key. A malformed path shows "Incorrect Format:"; every
// other failure is returned with its reason for the caller to report.
Task<RegStatus> RegWriteString(AppState& app, std::string path, std::string valueName, std::string data);

} // namespace volmara
