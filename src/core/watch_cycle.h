#pragma once

#include "core/task.h"

#include <cstddef>
#include <string>

namespace volmara {

class AppState;

// The watch tick of `Timer1`: a countdown step, or one check of every watched entry that yields
// to pending events at each entry and each event index.
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
    Task<EntryOutcome> checkEntry(std::size_t index);
    Task<void> eventStep(std::size_t index);
    void recordShortage(std::size_t index, std::int64_t triggerKb, std::int64_t freeKb, const std::string& drivePath);
    void endOfCheck();
    void panel(std::string text, int picture = -1);

    AppState& app_;
    bool checking_ = false;
};

} // namespace volmara
