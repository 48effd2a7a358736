#pragma once

#include "core/observer.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// The watch list's command labels `lblDP`, by index.
struct CommandLabel {
    std::string_view caption;
    std::string_view toolTip;
};
inline constexpr std::array<CommandLabel, 5> kLblDP{{
    {"(..)", "Add a Drive/Path to list"},
    {"Remove", "Remove Selected  from List"},
    {"Clear", "Attempts to clear all from listing"},
    {"Select Drive", "Select Drive for Watch"},
    {"Show/Refresh Drive(s)", "Show or Refresh System Aware Drive Paths"},
}};

// Pictures of `ImageList1` the status bar and toolbar show (1-based, as the image list counts).
enum ImageIndex { kImageStop = 2, kImageGraph = 6, kImageGreenLight = 13, kImageWork = 14 };

struct StatusPanel {
    std::string text;
    int picture = 0;
};

// What the main window shows besides the lists: status bar, captions, labels.
struct Form1State : Observable {
    std::string caption = "Volmara";
    bool visible = false;
    std::array<StatusPanel, 3> StatusBar1;
    std::string toolbarButton1Caption = "Start";
    int toolbarButton1Image = kImageGreenLight;
    std::string cmdPause = "Start Watch";
    bool mnuPauseChecked = false;
    // Window options of the menus; not stored.
    bool mnuHideChecked = false;
    bool mnuStayOnTopChecked = false;
    int windowOpacity = 255; // 0 to 255

    // Trigger settings: unit, slider, per-entry triggers, the MB/GB labels and the header.
    int OpDriv = 0; // 0 "By Size in (KB)", 1 "By %"
    bool sliderVisible = false;
    int Slider1 = 10;
    int chkDrive = 0;
    bool txtSpaceEnabled = true;
    std::string lblSpaceMB;
    std::string lblSpaceGB;
    std::string triggerHeader = "Trigger Space";

    // Options that are not stored.
    int chkSaveSet = 0;
    int chkLogTimeMon = 0;
    std::string txtAmt = "50";
    bool customPickersEnabled = false;

    // Overview page.
    std::string lblAppStart;
    std::string lblDriveOnMonitor;
    std::string lblTimesMonitor;
    std::string lblAlertsRaised;
    std::string lblHighRatedAlerts;
    std::string lblSpaceChangeRate;
    bool overviewVisible = false;

    std::vector<std::string> lstInfo; // drive summary lines
    std::string trayTip;              // the summary the tray shows once it exists
    std::string lblNewVer;            // "Config.": the update check's finding
};

} // namespace volmara
