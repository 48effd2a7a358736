#include "core/form1_model.h"

#include "alerts/file_actions.h"
#include "alerts/specified_lists_file.h"

#include "core/drive_enumeration.h"
#include "core/error.h"
#include "core/format.h"
#include "core/pause_control.h"
#include "core/settings_file.h"
#include "core/statistics.h"
#include "notify/mail_port_file.h"
#include "shell/shell_commands.h"

#include <algorithm>
#include <optional>
#include <exception>

namespace volmara {

std::string settingsFileName(const std::string& folder) { return folder + "/set.dat"; }
std::string logFileName(const std::string& folder) { return folder + "/log.dat"; }

Form1Model::Form1Model(Services services) : app_(std::move(services)), cycle_(app_)
{
    app_.Timer1.onTick([this] { cycle_.onTimer(); });
    app_.TimerCust.onTick([this] {
        runCommand([this] {
            if (app_.settings.chkSystray == 1)
                app_.sysWorkSystray.prcAddSystray(2, traySummary(app_));
            TimerCust_Timer(app_);
        });
    });
    // The tray tip tells of waiting mail as soon as their number changes.
    app_.frmNotify.subscribe([this, waiting = std::size_t{0}]() mutable {
        const auto now = app_.frmNotify.waitingMails();
        if (now == waiting)
            return;
        waiting = now;
        if (app_.settings.chkSystray == 1 && app_.sysWorkSystray.iconPresent())
            app_.sysWorkSystray.prcAddSystray(2, traySummary(app_));
    });
    // A high-rated alert makes the tray icon blink.
    app_.log.onTrayAlert = [this] { app_.sysWorkSystray.startBlinking(); };
    // The pause toggle's tips go to the icon as they stand, without the date.
    app_.form1.subscribe([this, shown = std::string()]() mutable {
        const auto& tip = app_.form1.trayTip;
        if (tip == shown)
            return;
        shown = tip;
        if (tip == "Volmara! Paused")
            app_.sysWorkSystray.modifyIcon(TrayPicture::Paused, tip);
        else if (tip == "Volmara! Started.")
            app_.sysWorkSystray.modifyIcon(TrayPicture::Normal, tip);
    });
    checkForUpdate = [this] { app_.updateCheck.prcChkUpdate(); };
    app_.tmrStat.onTick([this] {
        if (app_.form1.overviewVisible)
            runCommand([this] { prcUpdateStatistics(app_); });
    });
    app_.runWatchTick = [this] { cycle_.onTimer(); };
    app_.LVFile.onRowsChanged = [this] { saveSpecifiedLists(app_); };
    app_.LVProg.onRowsChanged = [this] { saveSpecifiedLists(app_); };
    app_.frmWizard.mainWindow = {[this](int option) { setTriggerUnit(option); },
                                 [this](const std::string& text) { txtSpaceChanged(text); }};
    bindWindows();
}

Form1Model::~Form1Model() { app_.tasks.clear(); }

void Form1Model::runCommand(const std::function<void()>& command)
{
    // Handlers never end the program: a failure becomes a message.
    try {
        command();
    } catch (const std::exception& e) {
        app_.inform(std::string("The command could not be completed: ") + e.what(), MsgIcon::Critical);
    }
}

void Form1Model::Form_Load()
{
    app_.fileTimeMark = app_.sv.clock.now();
    app_.settingsPath = settingsFileName(app_.sv.programFolder);
    app_.log.setLogPath(logFileName(app_.sv.programFolder));

    // The first tick checks the still empty list and puts the fallbacks in place.
    app_.tasks.spawn(cycle_.tick());
    chkCustTime_Click(app_);
    // The tray window's load puts the icon in place; the window itself is never shown.
    app_.sysWorkSystray.Form_Load();
    app_.form1.visible = true;

    // The rest measures drives: it waits on the I/O workers while the window is already up.
    app_.tasks.spawn(startUp());
}

Task<void> Form1Model::startUp()
{
    std::exception_ptr failure;
    try {
        co_await RefreshDrive(app_);
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure)
        app_.reportEscapedError(failure);
    chkCustTime_Click(app_);

    const bool firstRun = !app_.sv.files.fileExists(app_.settingsPath);
    const auto chkSystrayBefore = app_.settings.chkSystray;
    const auto chkStartUpBefore = app_.settings.chkStartUp;
    try {
        prcSettings(app_, 2);
    } catch (const std::exception& e) {
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "Medium",
                              std::string("Settings file could not be loaded: ") + e.what(), 0, nullptr);
    }
    applyLoadedShellOptions(app_, chkSystrayBefore, chkStartUpBefore);
    if (firstRun)
        tickHomeEntry();
    loadMailPort(app_);
    app_.frmNotify.Form_Load();
    std::exception_ptr listsFailure;
    try {
        co_await loadSpecifiedLists(app_);
    } catch (...) {
        listsFailure = std::current_exception();
    }
    if (listsFailure)
        app_.reportEscapedError(listsFailure);

    app_.form1.lblAppStart = app_.now("yyyy/mm/dd hh:mm AMPM");
    setTriggerUnit(0);
    if (app_.settings.chkUpdate == 1 && checkForUpdate)
        checkForUpdate();
    co_await prcSetPrevInfoAll(app_);
    app_.form1.notify();
    started_ = true;
    // A new user is led through the main settings once, over the main window.
    if (firstRun)
        app_.frmWizard.openAtFirstRun();
}

void Form1Model::Form_Unload()
{
    app_.frmNotify.Form_Unload();
    try {
        saveMailPort(app_);
    } catch (const std::exception& e) {
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "High",
                              std::string("Mail server port could not be saved: ") + e.what(), 0, nullptr);
    }
    try {
        prcSettings(app_, 1);
    } catch (const std::exception& e) {
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "High",
                              std::string("Settings could not be saved: ") + e.what(), 0, nullptr);
        app_.sysWorkSystray.Form_Unload();
        throw;
    }
    app_.sysWorkSystray.Form_Unload();
}

void Form1Model::tickHomeEntry()
{
    const auto root = app_.sv.paths.driveRoot(app_.sv.homeFolder);
    for (auto& entry : app_.ListView1.rows()) {
        if (!root.empty() && app_.sv.paths.samePath(entry.path, root))
            entry.watched = true;
    }
}

// --- watch list -------------------------------------------------------------------------------

void Form1Model::addPath() { app_.tasks.spawn(addPathTask()); }

Task<void> Form1Model::addPathTask()
{
    app_.Timer1.setEnabled(false);
    const auto chosen = co_await app_.sv.dialogs.browseFolder("Select Folder/Path");
    if (chosen && !chosen->empty()) {
        // The entry stays in the list whatever the measurement finds.
        WatchEntry entry;
        entry.path = *chosen;
        bool found = false;
        std::optional<DriveSpace> drive;
        try {
            drive = co_await measureDrive(app_.sv, *chosen);
            found = true;
        } catch (const Error&) {
            found = false;
        }
        if (drive && drive->ready) {
            entry.freeText = kbCell(std::to_string(bytesToKb(drive->freeBytes)));
            entry.totalText = kbCell(std::to_string(bytesToKb(drive->totalBytes)));
        } else if (found) {
            entry.freeText = std::string(kNotReadyAdded);
        }
        app_.ListView1.append(std::move(entry));
        app_.ListView1.notify();
        if (!found)
            app_.inform("The selected item is not found or unavailable. Check configuration.", MsgIcon::Critical);
    }
    app_.Timer1.setEnabled(true);
}

void Form1Model::removeSelected()
{
    app_.ListView1.removeSelected();
    app_.ListView1.notify();
}

void Form1Model::clearList() { app_.tasks.spawn(clearListTask()); }

Task<void> Form1Model::clearListTask()
{
    if (app_.ListView1.empty()) {
        app_.inform("No drives listed to clear.");
        co_return;
    }
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask("Clearing the listed drives with pause Volmara timer. Proceed?",
                                                     MsgIcon::Question, MsgButtons::YesNo);
    timerHold(app_);
    if (answer == MsgAnswer::Yes) {
        cmdPause_Click(app_);
        app_.ListView1.clear();
        app_.ListView1.notify();
    }
}

void Form1Model::refreshDrives()
{
    if (refreshing_)
        return; // one refresh at a time: the second click would only measure the same drives again
    app_.tasks.spawn(refreshDrivesTask());
}

Task<void> Form1Model::refreshDrivesTask()
{
    refreshing_ = true;
    std::exception_ptr failure;
    try {
        co_await RefreshDriveExisting(app_);
    } catch (...) {
        failure = std::current_exception();
    }
    refreshing_ = false;
    if (failure)
        app_.reportEscapedError(failure);
}

void Form1Model::sortByColumn(int column)
{
    app_.ListView1.sortByColumn(column);
    app_.ListView1.notify();
}

void Form1Model::setWatched(std::size_t index, bool watched)
{
    if (index >= app_.ListView1.size())
        return;
    app_.ListView1.at(index).watched = watched;
    app_.ListView1.notify();
}

// --- triggers ---------------------------------------------------------------------------------

void Form1Model::setPerEntryTriggers(bool on)
{
    auto& f = app_.form1;
    f.chkDrive = on ? 1 : 0;
    if (on) {
        app_.inform("Set the Listed Path's Specified Drive Space by Double Clicking on the Value shown in the List.");
        for (auto& entry : app_.ListView1.rows())
            entry.triggerText = app_.settings.txtSpace;
    } else {
        for (auto& entry : app_.ListView1.rows())
            entry.triggerText.clear();
    }
    f.txtSpaceEnabled = !on;
    app_.ListView1.notify();
    f.notify();
}

void Form1Model::setTriggerUnit(int option)
{
    auto& f = app_.form1;
    f.OpDriv = option == 1 ? 1 : 0;
    auto& header = f.triggerHeader;
    for (std::string_view suffix : {"(KB)", "( %)"}) {
        if (header.ends_with(suffix))
            header.erase(header.size() - suffix.size());
    }
    if (f.OpDriv == 1) {
        f.sliderVisible = true;
        const bool over = parseNumber(app_.settings.txtSpace, app_.sv.locale).value_or(0) > 100;
        setSlider(10);
        if (over) {
            app_.inform("Cannot set over 100%");
            app_.settings.txtSpace = "10";
        }
        header += "( %)";
    } else {
        f.sliderVisible = false;
        header += "(KB)";
    }
    updateSpaceLabels();
    f.notify();
}

void Form1Model::setSlider(int value)
{
    auto& f = app_.form1;
    if (f.Slider1 == value)
        return;
    f.Slider1 = value;
    app_.settings.txtSpace = std::to_string(value);
    updateSpaceLabels();
    f.notify();
}

void Form1Model::txtSpaceChanged(const std::string& text)
{
    app_.settings.txtSpace = text;
    if (!text.empty() && !isNumeric(text, app_.sv.locale)) {
        app_.inform("Please input only numbers.");
        app_.settings.txtSpace = "1";
    }
    updateSpaceLabels();
    app_.form1.notify();
}

void Form1Model::txtSpaceStep(int delta)
{
    const auto value = parseNumber(app_.settings.txtSpace, app_.sv.locale);
    if (value && *value > 0)
        app_.settings.txtSpace = std::to_string(roundHalfEven(*value) + delta);
    updateSpaceLabels();
    app_.form1.notify();
}

void Form1Model::updateSpaceLabels()
{
    auto& f = app_.form1;
    const auto value = parseNumber(app_.settings.txtSpace, app_.sv.locale);
    if (f.OpDriv == 0 && value) {
        f.lblSpaceMB = formatNumber(*value / 1000, "#0.0#", app_.sv.locale) + " MB";
        f.lblSpaceGB = formatNumber(*value / 1000000, "#0.0#", app_.sv.locale) + " GB";
    } else if (f.OpDriv == 1) {
        f.lblSpaceMB.clear();
        f.lblSpaceGB.clear();
    }
}

bool Form1Model::triggerEditable(int column) const
{
    return app_.form1.chkDrive == 1 && column == WatchList::TriggerSpace;
}

bool Form1Model::commitTrigger(std::size_t index, const std::string& text)
{
    if (!isNumeric(text, app_.sv.locale)) {
        app_.inform("You must enter a numeric value");
        return false;
    }
    if (index < app_.ListView1.size()) {
        app_.ListView1.at(index).triggerText = text;
        app_.ListView1.notify();
    }
    return true;
}

void Form1Model::chooseSound(int index)
{
    if (index == 0 || index == 1)
        app_.tasks.spawn(chooseSoundTask(index));
}

Task<void> Form1Model::chooseSoundTask(int index)
{
    std::vector<std::string> filters{"wav (*.wav)", "*.* (*)"};
    const auto chosen = co_await app_.sv.dialogs.browseFile(std::move(filters));
    if (!chosen || chosen->empty())
        co_return;
    if (!app_.sv.files.fileExists(*chosen)) {
        app_.inform("File Does not exists: " + *chosen, MsgIcon::Critical);
        co_return;
    }
    app_.settings.txtAudio[static_cast<std::size_t>(index)] = *chosen;
    app_.form1.notify();
}

void Form1Model::playSound(int index)
{
    if (index == 0 || index == 1)
        app_.tasks.spawn(playSoundTask(index));
}

Task<void> Form1Model::playSoundTask(int index)
{
    const auto text = app_.settings.txtAudio[static_cast<std::size_t>(index)];
    if (text.empty())
        co_return;
    // The sound may lie on any file system: whether it is there is asked on the I/O workers.
    // (Started outside the co_await: GCC 12 destroys a capturing closure of a co_await
    // expression twice.)
    auto exists = app_.sv.io.start(app_.sv.volumes.mountPointOf(text),
                                   [&files = app_.sv.files, text] { return files.fileExists(text); });
    const auto reply = co_await exists;
    if (!reply.answered() || !*reply.value) {
        app_.inform("File Does not exists: " + text, MsgIcon::Critical);
        co_return;
    }
    auto played = app_.sv.sound.play(trim(text));
    co_await played;
}

// --- option lists -----------------------------------------------------------------------------

void Form1Model::setResponseTicked(int index, bool ticked)
{
    for (auto& message : volmara::setResponseTicked(app_.lstAct, index, ticked, app_.ListView1))
        app_.inform(std::move(message));
    app_.form1.notify();
}

void Form1Model::setEventTicked(int index, bool ticked)
{
    if (index >= 0 && index < static_cast<int>(app_.lstEvt.size()))
        app_.lstEvt[static_cast<std::size_t>(index)] = ticked;
    app_.form1.notify();
}

// --- log commands -----------------------------------------------------------------------------

void Form1Model::saveLog() { app_.tasks.spawn(saveLogTask()); }

Task<void> Form1Model::saveLogTask()
{
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask("Save the current Log content?", MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        co_return;
    timerHold(app_);
    runCommand([this] { app_.log.saveWholeText(); });
}

void Form1Model::openLog() { app_.tasks.spawn(openLogTask()); }

Task<void> Form1Model::openLogTask()
{
    const auto path = app_.log.lblLog();
    auto looking = lookAt(app_, path, FolderDetail::Skip);
    const auto look = co_await looking;
    if (!look.answered || look.facts.kind != PathKind::File) {
        app_.inform("There is no log file to open yet.");
        co_return;
    }
    if (openDocument)
        openDocument(path);
}

void Form1Model::openDriveWindowFor(std::size_t index)
{
    auto& rows = app_.ListView1.rows();
    if (index >= rows.size())
        return;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].selected = i == index;
    openDriveWindow();
}

void Form1Model::openDriveWindow()
{
    const auto& rows = app_.ListView1.rows();
    const auto selected = std::find_if(rows.begin(), rows.end(), [](const WatchEntry& e) { return e.selected; });
    if (selected == rows.end()) {
        app_.inform("No Drive/Path selected.");
        return;
    }
    // A copy: showing the window runs the windows' handlers before the entry is read.
    const WatchEntry entry = *selected;
    app_.frmIndDri.perEntryTriggersOn = [this] { setPerEntryTriggers(true); };
    runCommand([&] { app_.frmIndDri.open(entry); });
}

void Form1Model::clearLog() { app_.log.clear(); }

void Form1Model::deleteLog() { app_.tasks.spawn(deleteLogTask()); }

Task<void> Form1Model::deleteLogTask()
{
    timerHold(app_);
    const auto answer = co_await app_.sv.dialogs.ask("Proceeding will delete the log file.  Are you sure?",
                                                     MsgIcon::Question, MsgButtons::YesNo);
    timerHold(app_);
    if (answer != MsgAnswer::Yes)
        co_return;
    runCommand([this] {
        if (!app_.log.deleteLog())
            app_.inform("There is no log file to delete.");
    });
}

void Form1Model::alertLimitDown()
{
    auto& f = app_.form1;
    // The limit is the number the box shows when the arrow is clicked; the box then steps down.
    const auto limit = std::clamp<std::int64_t>(roundHalfEven(parseNumber(f.txtAmt).value_or(0)), 0, 2147483647);
    if (static_cast<std::int64_t>(app_.log.LVAlert().size()) > limit)
        app_.log.prcLVLimit(static_cast<std::int32_t>(limit));
    if (limit > 0)
        f.txtAmt = std::to_string(limit - 1);
    f.notify();
}

void Form1Model::alertLimitUp()
{
    auto& f = app_.form1;
    f.txtAmt = std::to_string(std::clamp<std::int64_t>(roundHalfEven(parseNumber(f.txtAmt).value_or(0)), 0, 2147483646) + 1);
    f.notify();
}

} // namespace volmara
