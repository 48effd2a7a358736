#pragma once

#include "core/drive_probe.h"
#include "core/task.h"
#include "core/watch_entry.h"

#include <cstddef>
#include <string>

namespace volmara {

class AppState;

// The watch tick of `Timer1`: a countdown step, or one check of every watched entry that yields
// to pending events at each entry and each event index. An entry is measured on the I/O workers
// (a few entries ahead), and everything the check learns is written to the entry it started
// with, found again by its id after every suspension.
class WatchCycle {
public:
    explicit WatchCycle(AppState& app);

    // Bound to Timer1. A tick that fires while a check is still suspended does nothing:
    // two interleaved checks would corrupt the entries' bookkeeping.
    void onTimer();
    bool checking() const { return checking_; }

    // One whole tick with its error handling; start-up runs it directly.
    Task<void> tick();

private:
    enum class EntryOutcome { Next, StopLoop };

    Task<void> runTick();
    Task<void> runCheck();
    Task<EntryOutcome> checkEntry(std::uint64_t id, ProbeAhead& ahead);
    Task<void> eventStep(std::uint64_t id, const PathProbe& probe);
    Task<void> modifiedFilesEvent(std::uint64_t id);
    Task<void> reportEvents(std::uint64_t id, const std::string& eventText);
    Task<bool> fileExists(const std::string& path);
    // The sound of `txtAudio` 0, waited for, when its file is there.
    Task<void> playAlertSound();
    Task<void> recordShortage(std::uint64_t id, std::int64_t triggerKb, std::int64_t freeKb, const std::string& drivePath);
    void clearIcon(WatchEntry& entry);
    void endOfCheck();
    void panel(std::string text, int picture = -1);

    AppState& app_;
    bool checking_ = false;
};

} // namespace volmara
