#pragma once

#include "fakes/app_harness.h"

namespace volmara::shots {

// A small workstation in memory: a system drive, a home drive, a camera card nearly full, a
// network archive, a downloads folder; the settings and lists a user would have made. The clock
// stands still at the harness's date, so every picture comes out the same.
void furnish(test::AppHarness& machine);

// What happens on the card between checks: a clip is moved off it, then new footage arrives.
void changeCardSpace(test::AppHarness& machine, std::uint64_t freeKb);

// The card's free space at start-up, below the trigger of the demo settings.
inline constexpr std::uint64_t kCardFreeKb = 1'536'000;
inline constexpr const char* kCardRoot = "/media/usb/";
inline constexpr const char* kDownloads = "/home/user/Downloads";

} // namespace volmara::shots
