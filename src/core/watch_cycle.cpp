#include "core/watch_cycle.h"

#include "core/app_state.h"
#include "core/drive_enumeration.h"
#include "core/error.h"
#include "core/format.h"
#include "alerts/response_sequence.h"
#include "alerts/shell_icon_list.h"
#include "core/path_events.h"
#include "core/settings_file.h"
#include "core/statistics.h"

#include <new>
#include <optional>

namespace volmara {

namespace {

// Clears the busy flag however the check ends, the destruction of a suspended frame included.
struct CheckingGuard {
    bool& flag;
    explicit CheckingGuard(bool& f) : flag(f) { flag = true; }
    ~CheckingGuard() { flag = false; }
};

std::int64_t wholeNumber(const std::string& text, const Locale& locale)
{
    const auto value = parseNumber(text, locale);
    if (!value)
        throw Error(ErrorKind::Other, "Type mismatch");
    return roundHalfEven(*value);
}

} // namespace

WatchCycle::WatchCycle(AppState& app) : app_(app) {}

void WatchCycle::onTimer()
{
    if (checking_)
        return;
    app_.tasks.spawn(tick());
}

void WatchCycle::panel(std::string text, int picture)
{
    app_.form1.StatusBar1[0].text = std::move(text);
    if (picture >= 0)
        app_.form1.StatusBar1[0].picture = picture;
    app_.form1.notify();
}

Task<void> WatchCycle::tick()
{
    std::int16_t errors = 0;
    for (;;) {
        std::optional<Error> failure;
        try {
            co_await runTick();
        } catch (const Error& e) {
            failure = e;
        } catch (const std::bad_alloc&) {
            failure = Error(ErrorKind::OutOfMemory, "Out of memory");
        } catch (const std::exception& e) {
            failure = Error(ErrorKind::Other, e.what());
        }
        if (!failure) {
            if (errors > 0) // a restarted tick leaves the watch running
                app_.Timer1.setEnabled(true);
            co_return;
        }

        ++errors;
        const auto stamp = app_.displayTime();
        try {
            app_.log.prcAlertInfo(stamp, "High", "Error: " + failure->description(), 0, nullptr);
        } catch (const std::exception&) {
            // The log itself failing must not take the watch down with it.
        }
        switch (failure->kind()) {
        case ErrorKind::OutOfMemory:
            co_await app_.sv.dialogs.ask("Not enough memory for the task, quit program(s) or free up Memory",
                                         MsgIcon::Critical);
            co_return;
        case ErrorKind::IndexOutOfRange:
        case ErrorKind::InvalidArgument:
            app_.Timer1.setEnabled(true);
            co_return;
        case ErrorKind::Other:
            break;
        }
        if (errors > 2) {
            co_await app_.sv.dialogs.ask("Please check your settings for errors", MsgIcon::None);
            try {
                app_.log.prcAlertInfo(app_.displayTime(), "High", "Program Run Time Error: ", 0, nullptr);
            } catch (const std::exception&) {
            }
            app_.Timer1.setEnabled(true);
            co_return;
        }
    }
}

Task<void> WatchCycle::runTick()
{
    auto& s = app_.settings;
    auto& f = app_.form1;
    if (s.chkOnTopMonitor == 1 && !f.visible) {
        f.visible = true;
        f.notify();
    }
    const auto& interval = s.DTPInterval;
    const std::int64_t seconds = interval.second + 3600 * interval.hour + 60 * interval.minute;
    s.txtTime = std::to_string(seconds);
    const std::int64_t remaining = seconds * 1000 - app_.elapsedMs;
    if (remaining > 0) {
        app_.elapsedMs += app_.Timer1.Interval();
        panel("Ready. Check in: " + std::to_string(roundHalfEven(static_cast<double>(remaining) / 1000)) + " (sec.)");
        co_return;
    }
    co_await runCheck();
}

Task<void> WatchCycle::runCheck()
{
    CheckingGuard guard(checking_);
    auto& s = app_.settings;
    auto& f = app_.form1;
    const auto& loc = app_.sv.locale;

    app_.elapsedMs = 0;
    f.toolbarButton1Image = kImageStop;
    f.toolbarButton1Caption = "Pause";
    panel("Checking...", kImageWork);
    app_.Timer1.setEnabled(false);
    app_.pausedByResponse = false;

    if (s.txtDrive.empty())
        s.txtDrive = app_.sv.paths.defaultRoot();
    if (!isNumeric(s.txtSpace, loc))
        s.txtSpace = "50000";
    if (!isNumeric(s.txtTime, loc))
        s.txtTime = "5";
    else if (*parseNumber(s.txtTime, loc) >= 69)
        s.txtTime = "65";

    // The entries are read once: a sort or a removal during the yields changes neither which
    // entries this check visits nor where their results go.
    const auto ids = app_.ListView1.ids();
    bool completed = true;
    ProbeAhead ahead(app_, [](const WatchEntry& e) { return e.watched; });
    for (std::size_t i = 0; i < ids.size(); ++i) {
        co_await app_.sv.loop.yield();
        ahead.prefetch(ids, i);
        if (co_await checkEntry(ids[i], ahead) == EntryOutcome::StopLoop) {
            completed = false;
            break;
        }
    }
    if (completed) {
        f.lblSpaceChangeRate = prcSpaceRateChange(app_, wholeSecondsOf(s.txtTime, loc));
        prcUpdateStatistics(app_);
    }
    if (!isNumeric(s.txtTime, loc))
        s.txtTime = "5";
    endOfCheck();
}

Task<WatchCycle::EntryOutcome> WatchCycle::checkEntry(std::uint64_t id, ProbeAhead& ahead)
{
    auto& s = app_.settings;
    const auto& loc = app_.sv.locale;
    auto* entry = &app_.ListView1.byId(id);
    if (!entry->watched) {
        auto fetching = ExtractShellIcon(app_, entry->path, 16);
        const auto icon = co_await fetching;
        entry = &app_.ListView1.byId(id);
        if (entry->shellIcon != icon) {
            entry->shellIcon = icon;
            app_.ListView1.notify();
        }
        panel("No Alert:");
        clearIcon(*entry);
        co_return EntryOutcome::Next;
    }
    panel("Checking: " + entry->path);
    const auto probe = co_await ahead.take(id, entry->path, entry->namedMountPoint);
    entry = &app_.ListView1.byId(id); // the list may have changed while the drive was measured
    if (!probe.drive.ready) {
        panel("Not Ready: " + entry->path);
        clearIcon(*entry);
        if (app_.lstEvt[kEvtUnavailable] && !entry->prevFree.empty() && !entry->counts.empty()) {
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Drive Became Unavailable: " + entry->path, 0, entry);
            entry->prevFree.clear();
            entry->counts.clear();
        }
        co_return EntryOutcome::Next;
    }
    entry->namedMountPoint = entry->namedMountPoint || probe.drive.root == app_.sv.paths.withSeparator(trim(entry->path));

    const auto number = wholeNumber(app_.form1.chkDrive == 1 ? entry->triggerText : s.txtSpace, loc);
    const auto totalKb = bytesToKb(probe.drive.totalBytes);
    std::int64_t triggerKb = number;
    if (app_.form1.OpDriv == 1) {
        if (number > 100) {
            co_await app_.sv.dialogs.ask("Cannot check over 100% of space", MsgIcon::Information);
            co_return EntryOutcome::StopLoop;
        }
        triggerKb = roundHalfEven(static_cast<double>(totalKb) * static_cast<double>(number) * 0.01);
    }
    const auto freeKb = bytesToKb(probe.drive.freeBytes);
    const bool shortOfSpace = freeKb < triggerKb;
    entry->lastChecked = app_.now("mm/dd HH:mm:ss");

    panel("Events Listing");
    co_await eventStep(id, probe);
    panel("Events Listing Check Done. 2");
    entry = &app_.ListView1.byId(id);
    prcSetPrevInfoLV(app_, *entry, probe);
    panel("Refresh Info.:");

    if (shortOfSpace) {
        co_await recordShortage(id, triggerKb, freeKb, probe.drive.path);
    } else {
        app_.sysWorkSystray.stopBlinking();
        app_.Animation1.prcSrvAnimation(1, 0);
        entry->icon = StatusIcon::Ok;
    }
    app_.ListView1.notify();
    co_return EntryOutcome::Next;
}

void WatchCycle::clearIcon(WatchEntry& entry)
{
    if (entry.icon == StatusIcon::None)
        return;
    entry.icon = StatusIcon::None;
    app_.ListView1.notify();
}

Task<void> WatchCycle::eventStep(std::uint64_t id, const PathProbe& probe)
{
    const auto currentFree = groupDigits(bytesToKb(probe.drive.freeBytes), app_.sv.locale);
    std::string eventText;
    for (std::size_t evt = 0; evt < app_.lstEvt.size(); ++evt) {
        co_await app_.sv.loop.yield();
        panel("Events Listing Check: " + std::to_string(evt));
        if (!app_.lstEvt[evt])
            continue;
        panel("Checking Events for: " + std::string(kLstEvtCaptions[evt]));
        const auto& entry = app_.ListView1.byId(id);
        switch (evt) {
        case kEvtStagnancy:
            eventText += stagnancyEvent(entry, currentFree);
            break;
        case kEvtChange:
            eventText += changeEvent(entry, currentFree);
            break;
        case kEvtAmount:
            eventText += amountEvent(entry, probe.counts);
            break;
        case kEvtModified:
            co_await modifiedFilesEvent(id);
            break;
        default:
            break; // the unavailable event belongs to the not-ready step
        }
    }
    panel("Events Listing Check Done. 1");
    if (!eventText.empty())
        co_await reportEvents(id, eventText);
}

Task<void> WatchCycle::modifiedFilesEvent(std::uint64_t id)
{
    const auto& entry = app_.ListView1.byId(id);
    const auto since = entry.fileTimeMark.value_or(app_.fileTimeMark);
    // Taken before the listing, so that a file written while it runs shows at the next search.
    const auto searchedAt = app_.sv.clock.now();
    auto searching = app_.sv.io.run(app_.sv.volumes.mountPointOf(entry.path),
                                    [&files = app_.sv.files, folder = entry.path, since] {
                                        return files.filesModifiedSince(folder, since);
                                    });
    auto found = co_await searching;
    auto* searched = app_.ListView1.find(id);
    if (!searched || !found.answered())
        co_return; // gone, or its file system stopped answering: the mark stays for the next try
    searched->fileTimeMark = searchedAt;
    if (!*found.value)
        co_return; // the folder cannot be opened: nothing to report
    const auto text = modifiedFilesText(std::move(**found.value));
    if (!text.empty())
        app_.log.prcAlertInfo(app_.now("yyyy/mm/dd HH:mm:ss"), "High", "Files modified: " + text, 0, searched);
}

Task<void> WatchCycle::reportEvents(std::uint64_t id, const std::string& eventText)
{
    const auto stamp = app_.displayTime();
    app_.log.prcAlertInfo(stamp, "High", eventText, 0, &app_.ListView1.byId(id));
    app_.dlgAlert.prepend(stamp + " " + eventText);
    app_.log.prependAlert(eventText);
    co_await playAlertSound();
    if (!app_.dlgAlert.visible() && app_.lstAct[kActAlert])
        app_.dlgAlert.show();
}

Task<bool> WatchCycle::fileExists(const std::string& path)
{
    if (trim(path).empty())
        co_return false;
    auto looking = app_.sv.io.run(app_.sv.volumes.mountPointOf(path),
                                  [&files = app_.sv.files, path = trim(path)] { return files.fileExists(path); });
    const auto reply = co_await looking;
    co_return reply.answered() && *reply.value;
}

Task<void> WatchCycle::playAlertSound()
{
    const auto path = trim(app_.settings.txtAudio[0]);
    if (!co_await fileExists(path))
        co_return;
    auto playing = app_.sv.sound.play(path);
    co_await playing;
}

Task<void> WatchCycle::recordShortage(std::uint64_t id, std::int64_t triggerKb, std::int64_t freeKb,
                                      const std::string& drivePath)
{
    const auto alertText = " - ALERT: Space Shortage < " + std::to_string(triggerKb) + " KB" + " Drive: " + drivePath
                         + "[" + groupDigits(freeKb, app_.sv.locale) + " KB]";
    auto& entry = app_.ListView1.byId(id);
    app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "High", alertText, 0, &entry);
    const auto message = app_.displayTime() + alertText + "\r\n . \r\n";
    app_.log.prependAlert(message);
    app_.dlgAlert.prepend(message);
    auto responding = runAlertResponses(app_, Shortage{id, entry.path, drivePath, alertText});
    co_await responding;
    app_.ListView1.byId(id).icon = StatusIcon::Alert;
}

void WatchCycle::endOfCheck()
{
    auto& s = app_.settings;
    auto& f = app_.form1;
    app_.Timer1.setInterval(10000);
    if (f.cmdPause == "Start Watch" && !app_.pausedByResponse)
        f.cmdPause = "Pause Watch";
    ++app_.checksDone;
    panel("Ready. Check in " + s.txtTime + " (sec.)", kImageGreenLight);
    f.StatusBar1[1].text = "Checked: " + app_.now("hh:mm:ss mm/dd");
    f.StatusBar1[2].text = "Times Checked: " + std::to_string(app_.checksDone);
    if (f.chkLogTimeMon == 1)
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm:ss"), "Medium", f.StatusBar1[1].text, 0, nullptr);
    if (!app_.pausedByResponse)
        app_.Timer1.setEnabled(true);
    if (f.chkSaveSet == 1)
        prcSettings(app_, 1);
    if (s.chkAutoSave == 1)
        app_.log.saveNewLogText();
    app_.Animation1.prcSrvAnimation(0, 0);
    prcUpdateStatistics(app_);
    f.notify();
}

} // namespace volmara
