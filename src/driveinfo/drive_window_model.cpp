#include "driveinfo/drive_window_model.h"

#include "core/app_state.h"
#include "core/drive_probe.h"
#include "core/format.h"
#include "core/pause_control.h"

#include <algorithm>
#include <exception>

namespace volmara {

namespace {

constexpr std::string_view kImproperValue = "You have an improper value in the Set Minimum Space Text Box.";
constexpr std::string_view kGoAhead = "This will set the program to watch the drive/path by a individual values. Go ahead?";
constexpr std::string_view kBytesMask = "###,###,###,###,###,###,###";

// A position of a slider or scroll bar: rounded, and kept within the bar's range.
int position(double value, int max)
{
    return static_cast<int>(roundHalfEven(std::clamp(value, 0.0, static_cast<double>(max))));
}

std::int64_t wholeNumber(std::string_view text, const Locale& locale)
{
    const double value = parseNumber(text, locale).value_or(0);
    return roundHalfEven(std::clamp(value, -9.0e18, 9.0e18));
}

} // namespace

DriveWindowFill fillFor(double total, double free, std::int64_t trigger, bool percent)
{
    // A total of 0 (an entry without figures) shows empty shares instead of dividing by it.
    const double a = static_cast<double>(trigger);
    const double alertShare = percent ? a / 100 : (total > 0 ? a / total : 0);
    const double freeShare = total > 0 ? free / total : 0;
    DriveWindowFill fill;
    fill.Option1 = percent ? 1 : 0;
    fill.Text1 = std::to_string(trigger);
    fill.VScroll1 = position(100 - alertShare * 100, 100);
    fill.ProgressBar = position(freeShare * 100, 100);
    fill.VMeter1 = static_cast<std::int16_t>(position(50 - alertShare * 50, Meter2::kScrollMax));
    fill.VMeter2 = static_cast<std::int16_t>(position(50 - freeShare * 50, Meter2::kScrollMax));
    return fill;
}

std::string sliderText(int position, int option, std::int64_t total, const Locale& locale)
{
    if (option == 1)
        return std::to_string(100 - position);
    return formatNumber((100.0 - position) / 100 * static_cast<double>(total), "###", locale);
}

DriveWindowModel::DriveWindowModel(AppState& app)
    : Timer1(app.sv.loop, kRefreshMs), app_(app), pie_(app.sv.locale)
{
    Timer1.onTick([this] { Timer1_Timer(); });
}

void DriveWindowModel::open(const WatchEntry& entry)
{
    prcShowfrmIndDri();
    prcSrvMeter(entry);
    Timer1.setEnabled(true);
    // The pie follows the entry at once rather than at the timer's first tick.
    prcUpdateThis();
}

void DriveWindowModel::Form_Load()
{
    loaded_ = true;
    lblPVisible_ = true;
}

void DriveWindowModel::Form_Unload()
{
    Timer1.setEnabled(false);
    lblPVisible_ = false;
    visible_ = false;
    loaded_ = false;
    notify();
}

void DriveWindowModel::prcShowfrmIndDri()
{
    if (!loaded_)
        Form_Load();
    if (windowNeeded)
        windowNeeded();
    visible_ = true;
    notify();
}

void DriveWindowModel::prcSrvMeter(const WatchEntry& entry)
{
    // A drive that was not ready has no figures to show: the window keeps what it showed.
    if (entry.freeText.find("not ready") != std::string::npos)
        return;
    const Locale& locale = app_.sv.locale;
    const double total = cellNumber(entry.totalText, locale).value_or(0);
    const double free = cellNumber(entry.freeText, locale).value_or(0);
    // The entry's own alert value: its trigger cell when the entries have their own, else the
    // global number; in the main window's unit.
    const std::string& trigger = app_.form1.chkDrive == 1 ? entry.triggerText : app_.settings.txtSpace;
    const DriveWindowFill fill = fillFor(total, free, wholeNumber(trigger, locale), app_.form1.OpDriv == 1);

    VScroll1_ = fill.VScroll1;
    Option1_ = fill.Option1;
    Text1_ = fill.Text1;
    ListView1_ = {{"Size", entry.totalText}, {"Free Space", entry.freeText}, {"Folders", ""}, {"Files", ""}};
    g_lngTotal_ = roundHalfEven(std::clamp(total, 0.0, 9.0e18));
    ProgressBar1_ = {fill.ProgressBar, fill.ProgressBar};
    VMeter1_.setValue(fill.VMeter1);
    VMeter2_.setValue(fill.VMeter2);
    Combo1_ = entry.path;
    entryId_ = entry.id;
    notify();
    app_.tasks.spawn(countFolder(entry.path, ++fills_));
}

// The counts of the folder are read on the I/O workers; the list shows them when they come.
Task<void> DriveWindowModel::countFolder(std::string path, std::uint64_t fill)
{
    std::optional<FolderCounts> counts;
    try {
        counts = (co_await probePath(app_.sv, path, Counts::Take)).counts;
    } catch (const std::exception&) {
        counts.reset(); // a path that names no drive has no folder to count
    }
    if (fill != fills_ || ListView1_.size() < 4)
        co_return; // filled anew meanwhile
    ListView1_[2].value = counts ? std::to_string(counts->folders) : "N/A";
    ListView1_[3].value = counts ? std::to_string(counts->files) : "N/A";
    notify();
}

void DriveWindowModel::Timer1_Timer()
{
    if (!visible_) {
        Timer1.setEnabled(false);
        return;
    }
    prcShowfrmIndDri();
    prcUpdateThis();
}

void DriveWindowModel::prcUpdateThis() { app_.tasks.spawn(updateThis()); }

Task<void> DriveWindowModel::updateThis()
{
    const std::uint64_t refresh = ++refreshes_;
    const std::string path = Combo1_;
    DriveSpace drive;
    try {
        drive = co_await measureDrive(app_.sv, path);
    } catch (const std::exception&) {
        drive = DriveSpace{}; // no drive to read: the "No Media" pie
    }
    // A later refresh (of another entry, maybe) is under way; it draws.
    if (refresh != refreshes_)
        co_return;
    showDrive(path, drive);
}

void DriveWindowModel::showDrive(const std::string& path, const DriveSpace& drive)
{
    const double total = drive.ready ? static_cast<double>(drive.totalBytes) : 0;
    const double free = drive.ready ? static_cast<double>(drive.freeBytes) : 0;
    const double available = drive.ready ? static_cast<double>(drive.availableBytes) : 0;
    const double used = total - available;
    const double freeShare = total > 0 ? free / total * 100 : 0;

    pie_.Clear();
    if (free > 0 && used > 0) {
        pie_.AddSegment(free, "Free", kFreeColour);
        pie_.AddSegment(used, "Used", kUsedColour);
    } else if (used != 0) {
        pie_.AddSegment(used, "Media Full", kUsedColour);
    } else {
        pie_.AddSegment(0, "No Media", kUsedColour);
    }
    const Locale& locale = app_.sv.locale;
    pieTitle_ = formatNumber(freeShare, "###.0", locale) + "% Free";
    pieSubKey_ = "Total(" + formatNumber(total, kBytesMask, locale) + ")";
    freeBytes_ = free;
    usedBytes_ = used;
    lblPVisible_ = false;
    Caption_ = std::string(kFrmIndDriCaption) + " - " + path;
    notify();
}

std::int32_t DriveWindowModel::drawPie(DrawingSurface& surface) const
{
    if (pie_.segments().empty())
        return clsPie::kFailed; // nothing measured yet: "Loading..." covers the picture
    return pie_.DrawPie(surface, true, pieTitle_, pieSubKey_);
}

void DriveWindowModel::VScroll1_Change(int value)
{
    VScroll1_ = std::clamp(value, 0, 100);
    VMeter1_.setValue(static_cast<std::int16_t>(roundHalfEven(VScroll1_ / 2.0)));
    ProgressBar1_[0] = 100 - VScroll1_;
    Text1_ = sliderText(VScroll1_, Option1_, g_lngTotal_, app_.sv.locale);
    notify();
}

void DriveWindowModel::Text1_Change(std::string text) { Text1_ = std::move(text); }

void DriveWindowModel::Option1_Click(int index)
{
    const int chosen = index == 1 ? 1 : 0;
    if (chosen == Option1_)
        return;
    // `Text1` becomes a slider position in the unit it is written in; the slider then writes it
    // in the chosen unit. A text that is no number leaves the slider where it is.
    int slider = VScroll1_;
    if (const auto value = parseNumber(Text1_, app_.sv.locale)) {
        if (Option1_ == 1)
            slider = position(100 - *value, 100);
        else if (g_lngTotal_ > 0)
            slider = position(100 - *value / static_cast<double>(g_lngTotal_) * 100, 100);
    }
    Option1_ = chosen;
    VScroll1_Change(slider);
}

void DriveWindowModel::Command3_Click()
{
    if (applying_)
        return; // its question is still open
    app_.tasks.spawn(applyTask());
}

Task<void> DriveWindowModel::applyTask()
{
    const auto value = Text1_.empty() ? std::nullopt : parseNumber(Text1_, app_.sv.locale);
    if (!value) {
        app_.inform(std::string(kImproperValue));
        ++text1FocusRequests_;
        notify();
        co_return;
    }
    // What was clicked is applied, to the entry the window was filled for.
    const std::string trigger = triggerInMainUnit(*value);
    const auto id = entryId_;
    if (app_.form1.chkDrive != 1) {
        applying_ = true;
        timerHold(app_);
        const MsgAnswer answer = co_await app_.sv.dialogs.ask(std::string(kGoAhead), MsgIcon::Question, MsgButtons::YesNo);
        timerHold(app_);
        applying_ = false;
        if (answer != MsgAnswer::Yes)
            co_return;
    }
    // Ticking the switch resets every entry's own trigger to the global number, also when it
    // was on already; then this entry gets its value.
    if (perEntryTriggersOn)
        perEntryTriggersOn();
    if (WatchEntry* entry = id ? app_.ListView1.find(*id) : nullptr) {
        entry->triggerText = trigger;
        app_.ListView1.notify();
    }
}

std::string DriveWindowModel::triggerInMainUnit(double value) const
{
    const int mainUnit = app_.form1.OpDriv == 1 ? 1 : 0;
    if (Option1_ == mainUnit)
        return Text1_;
    const double total = static_cast<double>(g_lngTotal_);
    const double converted = mainUnit == 1 ? (total > 0 ? value / total * 100 : 0) : value / 100 * total;
    return std::to_string(roundHalfEven(std::clamp(converted, -9.0e18, 9.0e18)));
}

void DriveWindowModel::Check1_Click(int value)
{
    Check1_ = value == 1 ? 1 : 0;
    Timer1.setEnabled(Check1_ == 1);
    notify();
}

void DriveWindowModel::cmdToggle_Click()
{
    Height_ = Height_ != kTallHeight ? kTallHeight : kShortHeight;
    notify();
}

void DriveWindowModel::cmdC_Click()
{
    visible_ = false;
    notify();
}

} // namespace volmara
