#pragma once

#include "core/task.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

// What a click on a toolbar button does, decided by the button's caption at the time of the click.
enum class ToolbarCommand { None, Pause, Wizard, AdvancedInfo, Functions, View, Help };

struct ToolbarButton {
    std::string_view caption; // empty: the separator
    std::string_view toolTip;
    std::string_view imageKey; // a key of `ImageList1`
};
inline constexpr std::array<ToolbarButton, 7> kToolbar1Buttons{{
    {"Start", "Activate/Pause the Volmara Timer to check drive/path(s)", "greenlight"},
    {"Wizard Settings", "A Wizard to assist in understanding and configuring program options", "smile"},
    {"Adv. Info", "Advance Information on Drive/Path(s) attributes", "graph"},
    {"Functions", "Additional Functions", "work"},
    {"View", "Toggle View", "open"},
    {"", "", ""},
    {"Help", "Help ", "help"},
}};

// "Start", "Pause", "Wizard Settings", "Adv. Info" and "Help" are compared exactly; "View" and
// "Functions" match any caption holding them ("View +").
ToolbarCommand toolbarCommand(std::string_view caption);

// One item of a pop-up menu: its name and caption; a separator has the name "-".
struct MenuItem {
    std::string_view name;
    std::string_view caption;
};
inline constexpr std::string_view kSeparator = "-";

// The tray menu; "mnuHelp" is the submenu `kMnuHelp`.
inline constexpr std::array<MenuItem, 7> kMnuPopUp{{
    {"mnuLock", "(Un) &Lock"},
    {"mnuPause", "Pause"},
    {"mnuHide", "Hide Volmara"},
    {"mnuShowAl", "Show Alert Dialog"},
    {kSeparator, ""},
    {"mnuHelp", "Help"},
    {"mnuExit", "Exit"},
}};
inline constexpr std::array<MenuItem, 3> kMnuHelp{{
    {"mnuContent", "Contents"},
    {"mnuFAQ", "FAQ"},
    {"mnuAboutVL", "About Volmara"},
}};
// The watch list's menu: every item works on the selected entry.
inline constexpr std::array<MenuItem, 4> kMnuLstV{{
    {"mnuExplore", "Explore"},
    {"mnuParam", "Set Parameters"},
    {"mnuRemove", "Remove"},
    {"mnuInfo", "Show Info"},
}};
// The functions menu (toolbar button 4); "mnuF" is the submenu of the fading levels.
inline constexpr std::array<MenuItem, 12> kMnuFunc{{
    {"mnuProgSet", "Set Program Settings"},
    {"mnuRecyc", "Show Recycle Bin"},
    {"mnuDefrag", "Defrag Utility"},
    {"mnuEmptyRecyc", "Empty Recycle Bin"},
    {"mnuNotif", "Notification"},
    {"mnuShowAlert", "Show Alert Dialog"},
    {"mnuCleaner", "Clean Manager"},
    {"mnuOlvesta", "Olvesta Program"},
    {kSeparator, ""},
    {"mnuToSystray", "To Systray"},
    {"mnuStayOnTop", "Stay On Top"},
    {"mnuF", "Window Fade Level"},
}};
struct FadeItem {
    std::string_view name;
    std::string_view caption;
    int level;
};
inline constexpr std::array<FadeItem, 3> kMnuF{{
    {"mnuFadeH", "Fading: High", 65},
    {"mnuFadeP", "Fading: Minimal", 80},
    {"mnuFadeN", "Fading: None", 100},
}};

inline constexpr std::string_view kSettingsAlreadyShown = "The program settings and options are already shown.";
inline constexpr std::string_view kExitQuestion = "Exit the program?";
inline constexpr std::string_view kHelpPage = "help.html";

// "Hide Volmara": the check mark says the window was hidden by this item; only it changes the mark.
void mnuHide_Click(AppState& app);
// "Stay On Top": the window keeps above others while checked.
void mnuStayOnTop_Click(AppState& app);
// "Show Info": the properties of the selected watch-list entry's path; nothing without a selection.
void mnuInfo_Click(AppState& app);
// "Show Alert Dialog" (both menus): the dialog at its compact height.
void mnuShowAlert_Click(AppState& app);

// The opacity (0 to 255) a fading level in percent asks for: level × 255 / 100, rounded half to
// even; nothing outside 20 to 100.
std::optional<int> fadeOpacity(int level);
// Makes the main window translucent at `level` percent; other levels are ignored.
void SetWindowFade(AppState& app, int level);

// "Exit": asks first, with the watch timers held; OK runs `unload`, which ends the program.
void mnuExit_Click(AppState& app, std::function<void()> unload);

// The program's help page beside the executable, in the desktop's browser.
void openHelp(AppState& app);
Task<void> openHelpTask(AppState& app);
std::string helpPagePath(const AppState& app);

} // namespace volmara
