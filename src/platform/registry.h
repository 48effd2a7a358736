#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace volmara {

// A registry root handle ("HKEY_LOCAL_MACHINE" is 0x80000002); 0 names no root.
using RegRoot = std::uint32_t;

struct RegStatus {
    bool ok = false;
    std::string reason; // why the value could not be written, when !ok
};

// The store behind the registry keys the program uses: the start-up entry (an XDG autostart
// entry on Linux) and the lookup of the system-information tool. Both calls may touch files:
// the core runs them on the I/O workers (thread-safe).
class Registry {
public:
    virtual ~Registry() = default;

    // Sets the text value `valueName` under an existing key; the key is never created.
    virtual RegStatus setString(RegRoot root, const std::string& subKey, const std::string& valueName,
                                const std::string& data) = 0;
    // The text value `valueName` under the key; nullopt when the key or the value is not there.
    virtual std::optional<std::string> queryString(RegRoot root, const std::string& subKey,
                                                   const std::string& valueName) = 0;
};

} // namespace volmara
