#pragma once

#include <string>

namespace volmara {

class AppState;

// The pause/start toggle shared by the button, the toolbar, the menu, the custom watch time,
// the pause response and "Clear".
void cmdPause_Click(AppState& app);
// The menu item: keeps the toolbar button and the check mark in step with the toggle.
void mnuPause_Click(AppState& app);
void chkCustTime_Click(AppState& app);

// The minute timer: tray summary, then the custom watch time.
void TimerCust_Timer(AppState& app);
// "<size> Free. <n> onWatch. <m> Alert(s)." over the ticked, available entries.
std::string traySummary(const AppState& app);

// The interval picker's steppers (10 s) and the interval text's up/down (1 s).
void intervalStepUp(AppState& app);
void intervalStepDown(AppState& app);
void txtTimeStepUp(AppState& app);
void txtTimeStepDown(AppState& app);

// The timer hold helper: prompts call it around their questions; it only ever starts timers.
void timerHold(AppState& app);

} // namespace volmara
