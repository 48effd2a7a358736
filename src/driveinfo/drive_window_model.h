#pragma once

#include "core/observer.h"
#include "core/task.h"
#include "driveinfo/meter2.h"
#include "driveinfo/pie_chart.h"
#include "platform/event_loop.h"
#include "platform/volumes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;
struct WatchEntry;

// The window's fixed texts.
inline constexpr std::string_view kFrmIndDriCaption = "Drive Settings - Zembrik Volmara";
inline constexpr std::array<std::string_view, 2> kIndDriListHeaders{"Properties", "Value"};
inline constexpr std::string_view kLabel1Caption = "Set Minimum Space Alert";
inline constexpr std::array<std::string_view, 2> kOption1Captions{"Size (KB)", "Percentage"};
inline constexpr std::string_view kCommand3Caption = "&Apply";
inline constexpr std::string_view kCheck1Caption = "Auto &Refresh Information";
inline constexpr std::string_view kCheck1ToolTip =
    "This automatically will update the meter info by interval while the window is open";
inline constexpr std::string_view kCmdToggleCaption = "+";
inline constexpr std::string_view kCmdToggleToolTip = "Toggle View";
inline constexpr std::string_view kCmdCCaption = "&Cancel";
inline constexpr std::string_view kLoadingText = "Loading...";

// Pie colours of the refresh.
inline constexpr Colour kFreeColour = 16711680; // blue
inline constexpr Colour kUsedColour = 255;      // red

struct PropertyRow {
    std::string name;
    std::string value;
    friend bool operator==(const PropertyRow&, const PropertyRow&) = default;
};

// What the fill shows for an entry: the slider, `Text1` and its unit, the bars and the meters.
struct DriveWindowFill {
    int VScroll1 = 100;
    std::string Text1;
    int Option1 = 0;
    int ProgressBar = 0;
    std::int16_t VMeter1 = Meter2::kDefaultValue;
    std::int16_t VMeter2 = Meter2::kDefaultValue;
};

// The fill's arithmetic. `total` and `free` are the entry's KB; `trigger` its alert value in the
// main window's unit (`percent` when that is "By %").
DriveWindowFill fillFor(double total, double free, std::int64_t trigger, bool percent);

// `Text1` for slider position `position` (0 top to 100 bottom) in unit `option` (0 KB, 1 percent).
std::string sliderText(int position, int option, std::int64_t total, const Locale& locale = {});

// The model of `frmIndDri`, the settings window of one watch entry. It always exists; the
// window is made the first time the model is shown.
class DriveWindowModel : public Observable {
public:
    static constexpr int kTallHeight = 7100; // twips
    static constexpr int kShortHeight = 3100;
    static constexpr int kRefreshMs = 10000;

    explicit DriveWindowModel(AppState& app);
    DriveWindowModel(const DriveWindowModel&) = delete;
    DriveWindowModel& operator=(const DriveWindowModel&) = delete;

    // What the main window does for its selected entry: show the window, fill it for the entry,
    // start the refresh timer.
    void open(const WatchEntry& entry);
    // Shows the window; the contents stay as they are.
    void prcShowfrmIndDri();
    // Fills the window for `entry` from its cells and the main window's trigger settings.
    void prcSrvMeter(const WatchEntry& entry);
    // Measures `Combo1`'s drive and redraws the pie from it.
    void prcUpdateThis();
    void Timer1_Timer();

    // The user's controls.
    void VScroll1_Change(int position);
    void Text1_Change(std::string text);
    void Option1_Click(int index);
    void Command3_Click(); // "&Apply"
    void Check1_Click(int value);
    void cmdToggle_Click();
    void cmdC_Click();     // "&Cancel": hides the window
    void Form_Unload();    // the window is closed

    bool visible() const { return visible_; }
    const std::string& Caption() const { return Caption_; }
    const std::string& Combo1() const { return Combo1_; }
    // The watch entry the window was filled for; none before the first fill.
    std::optional<std::uint64_t> entryId() const { return entryId_; }
    const std::vector<PropertyRow>& ListView1() const { return ListView1_; }
    int VScroll1() const { return VScroll1_; }
    const std::string& Text1() const { return Text1_; }
    int Option1() const { return Option1_; }
    const std::array<int, 2>& ProgressBar1() const { return ProgressBar1_; }
    int Check1() const { return Check1_; }
    int Height() const { return Height_; }
    bool lblPVisible() const { return lblPVisible_; }
    std::int64_t g_lngTotal() const { return g_lngTotal_; }
    Meter2& VMeter1() { return VMeter1_; }
    Meter2& VMeter2() { return VMeter2_; }
    const Meter2& VMeter1() const { return VMeter1_; }
    const Meter2& VMeter2() const { return VMeter2_; }

    // The pie of the last refresh, with its title and sub-caption; `picPie` draws it.
    const clsPie& pie() const { return pie_; }
    const std::string& pieTitle() const { return pieTitle_; }
    const std::string& pieSubKey() const { return pieSubKey_; }
    double freeBytes() const { return freeBytes_; }
    double usedBytes() const { return usedBytes_; }
    // Draws the pie as `picPie` shows it (the caller clears the surface first).
    std::int32_t drawPie(DrawingSurface& surface) const;

    // Grows each time the focus is to go back to `Text1`.
    int text1FocusRequests() const { return text1FocusRequests_; }

    Timer Timer1;

    // The window system makes the window here the first time the model is shown.
    std::function<void()> windowNeeded;
    // The main window's reaction to its "Set Size Individually" switch being ticked.
    std::function<void()> perEntryTriggersOn;

private:
    void Form_Load();
    Task<void> updateThis();
    Task<void> countFolder(std::string path, std::uint64_t fill);
    Task<void> applyTask();
    void showDrive(const std::string& path, const DriveSpace& drive);
    // `Text1` in the main window's unit, which Apply writes into the entry.
    std::string triggerInMainUnit(double value) const;

    AppState& app_;
    bool loaded_ = false;
    bool visible_ = false;
    bool applying_ = false;
    std::string Caption_{kFrmIndDriCaption};
    std::string Combo1_;
    std::optional<std::uint64_t> entryId_;
    std::vector<PropertyRow> ListView1_;
    int VScroll1_ = 100;
    std::string Text1_;
    int Option1_ = 0;
    std::array<int, 2> ProgressBar1_{};
    int Check1_ = 1;
    int Height_ = kTallHeight;
    bool lblPVisible_ = false;
    std::int64_t g_lngTotal_ = 0; // KB; wider than the 32 bits a few terabytes would overflow
    Meter2 VMeter1_;
    Meter2 VMeter2_;
    clsPie pie_;
    std::string pieTitle_;
    std::string pieSubKey_;
    double freeBytes_ = 0;
    double usedBytes_ = 0;
    int text1FocusRequests_ = 0;
    std::uint64_t fills_ = 0;
    std::uint64_t refreshes_ = 0;
};

} // namespace volmara
