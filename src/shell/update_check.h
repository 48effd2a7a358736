#pragma once

#include "core/task.h"
#include "shell/build_info.h"

#include <chrono>
#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

inline constexpr std::string_view kUpdateMarker = "update=";
inline constexpr std::string_view kNewerVersionMessage =
    "There is a newer version or update for the the program.  Please visit the program webpage for more information.";
inline constexpr std::string_view kNewVerPrefix = "New update available: ";
inline constexpr std::string_view kNotConnected = "not connected to internet.";
inline constexpr std::string_view kNoUpdateSite = "This copy of Volmara was built without an update site to check.";

// A published or own version: major and minor, compared as numbers (1.10 is newer than 1.2).
struct VersionNumber {
    long major = 0;
    long minor = 0;
    auto operator<=>(const VersionNumber&) const = default;
};

// The version text after the first marker of the page: the 15 characters from the marker on,
// every marker removed, blanks trimmed. nullopt when the page has no marker.
std::optional<std::string> publishedVersionText(std::string_view page);
// "major" or "major.minor", digits only; nullopt for anything else.
std::optional<VersionNumber> parseVersionNumber(std::string_view text);

// The update check: fetches the status page, reads the published version and tells the user
// when it is newer than the program's own. Any failure on the way is silent.
class UpdateCheck {
public:
    explicit UpdateCheck(AppState& app);
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Starts one check unless one is running.
    void prcChkUpdate();
    // The "Check Updates" label: needs an update site and a way out to the network.
    void Label5_Click();
    bool running() const { return running_; }

    std::string url{kUpdateUrl};
    VersionNumber ownVersion{kProgramVersion.major, kProgramVersion.minor};
    // The whole fetch ends within this, answered or not; the page is read up to maxBody bytes.
    std::chrono::milliseconds timeout{10000};
    std::size_t maxBody = 64 * 1024;

private:
    Task<void> check();
    void evaluate(std::string_view page);

    AppState& app_;
    bool running_ = false;
};

} // namespace volmara
