#pragma once

#include "core/settings.h"

#include <string_view>

namespace volmara {

class AppState;

inline constexpr std::string_view kNoSystemTray =
    "There is no system tray on this desktop: Volmara cannot show its icon there, and its window stays.";

// "Show in Systray": ticked adds the icon; unticked shows the main window and removes the icon.
void chkSystray_Click(AppState& app, CheckValue value);
// "To Systray": adds the icon when "Show in Systray" is not ticked, then hides the main window.
void mnuToSystray_Click(AppState& app);
// "Load Volmara at Startup.": writes or empties the start-up entry.
void chkStartUp_Click(AppState& app, CheckValue value);
// "(Un) &Lock": the lock window, prepared and shown with an empty box.
void mnuLock_Click(AppState& app);
// "About Volmara" (the menu item, the label and the logo).
void mnuAboutVL_Click(AppState& app);
// "Check Updates".
void lblCheckUpdates_Click(AppState& app);

// The click handling of the two boxes that the settings file changed while loading.
void applyLoadedShellOptions(AppState& app, CheckValue chkSystrayBefore, CheckValue chkStartUpBefore);

} // namespace volmara
