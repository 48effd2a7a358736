#include "core/pause_control.h"

#include "core/app_state.h"
#include "core/format.h"

#include <cstdint>

namespace volmara {

namespace {

void setToolbarButton1(AppState& app, bool watching)
{
    app.form1.toolbarButton1Caption = watching ? "Pause" : "Start";
    app.form1.toolbarButton1Image = watching ? kImageStop : kImageGreenLight;
}

bool anyWatched(const AppState& app)
{
    for (const auto& e : app.ListView1.rows())
        if (e.watched)
            return true;
    return false;
}

void announce(AppState& app, const std::string& what)
{
    const auto message = what + defaultDateText(app.sv.clock.now()) + "\r\n.\r\n";
    app.log.prependAlert(message);
    app.log.prcAlertInfo(app.now("yyyymmdd HH:mm"), "Medium", what, 0, nullptr);
    app.dlgAlert.prepend(message);
    app.dlgAlert.show();
}

} // namespace

void cmdPause_Click(AppState& app)
{
    auto& f = app.form1;
    const bool running = toLower(f.cmdPause).find("pause") != std::string::npos;
    if (running) {
        f.caption = "Volmara - Watching Paused.";
        setToolbarButton1(app, false);
        f.mnuPauseChecked = true;
        f.cmdPause = "Start Watch";
        app.Timer1.setEnabled(false);
        f.StatusBar1[1].text = "Watch Paused.";
        f.trayTip = "Volmara! Paused";
    } else {
        f.caption = "Volmara - Watching Activated";
        setToolbarButton1(app, true);
        f.mnuPauseChecked = false;
        if (app.ListView1.empty()) {
            app.inform("No Drive/Path currently listed.");
        } else if (!anyWatched(app)) {
            app.inform("No Drive/Path selected.");
        } else {
            f.cmdPause = "Pause Watch";
            app.Timer1.setEnabled(true);
            f.StatusBar1[1].text = "Watching.";
            f.trayTip = "Volmara! Started.";
        }
    }
    f.notify();
}

void mnuPause_Click(AppState& app)
{
    auto& f = app.form1;
    if (f.toolbarButton1Caption == "Pause") {
        f.mnuPauseChecked = false;
        cmdPause_Click(app);
        setToolbarButton1(app, false);
    } else if (f.toolbarButton1Caption == "Start") {
        f.mnuPauseChecked = true;
        cmdPause_Click(app);
        setToolbarButton1(app, true);
    }
    f.notify();
}

void chkCustTime_Click(AppState& app)
{
    app.form1.customPickersEnabled = app.settings.chkCustTime == 1;
    app.form1.notify();
}

std::string traySummary(const AppState& app)
{
    // Totals of KB are 64-bit: a few large volumes overflow 32 bits.
    std::int64_t totalKb = 0;
    std::int64_t entries = 0;
    std::int64_t alerts = 0;
    for (const auto& e : app.ListView1.rows()) {
        if (!e.watched || e.freeText.find("N/A") != std::string::npos)
            continue;
        // An entry not measured yet adds nothing but still counts as watched.
        totalKb += static_cast<std::int64_t>(cellNumber(e.freeText, app.sv.locale).value_or(0));
        ++entries;
        alerts += e.icon == StatusIcon::Alert ? 1 : 0;
    }
    const auto& loc = app.sv.locale;
    const double total = static_cast<double>(totalKb);
    std::string size;
    if (totalKb < 2)
        size = formatNumber(0, "##,##0.0", loc);
    else if (totalKb < 1000)
        size = formatNumber(total, "##,##0.0", loc) + " KB";
    else if (totalKb < 1000000)
        size = formatNumber(total / 1000, "##,##0.0", loc) + " MB";
    else if (totalKb < 1000000000)
        size = formatNumber(total / 1000000, "##,##0.0", loc) + " GB";
    else
        size = formatNumber(total / 1000000000, "##,##0.0", loc) + " TB";
    auto summary = size + " Free. " + std::to_string(entries) + " onWatch. " + std::to_string(alerts) + " Alert(s).";
    // Short, so that the date the tip gets after it still fits.
    if (const auto waiting = app.frmNotify.waitingMails(); waiting > 0)
        summary += " " + std::to_string(waiting) + " in outbox.";
    return summary;
}

void TimerCust_Timer(AppState& app)
{
    auto& s = app.settings;
    auto& f = app.form1;
    if (s.chkSystray == 1)
        f.trayTip = traySummary(app);
    if (s.chkCustTime != 1) {
        f.notify();
        return;
    }
    if (s.DTTime1[0].secondOfDay() == s.DTTime1[1].secondOfDay()) {
        const int next = (s.DTTime1[1].secondOfDay() / 60 + 1) % (24 * 60);
        s.DTTime1[1] = DateTime::timeOfDay(next / 60, next % 60, s.DTTime1[1].second);
    }
    const auto& loc = app.sv.locale;
    const auto nowValue = app.sv.clock.now();
    const auto minuteOf = [&](const DateTime& t) { return formatDate(t, "hh:mm AMPM", loc); };
    const bool hasPause = f.cmdPause.find("Pause") != std::string::npos;
    if (minuteOf(s.DTTime1[0]) == minuteOf(nowValue)) {
        if (!hasPause && f.cmdPause.find("Start") != std::string::npos)
            cmdPause_Click(app);
        announce(app, "Volmara Started by Custom Watch Time: ");
    } else if (minuteOf(s.DTTime1[1]) == minuteOf(nowValue) && hasPause) {
        cmdPause_Click(app);
        announce(app, "Volmara Paused by Custom Watch Time: ");
    }
    if (!app.Timer1.Enabled()) {
        const auto clock = formatDate(nowValue, "hh:mm:ss", loc);
        if (clock >= formatDate(s.DTTime1[0], "hh:mm:ss", loc) && clock <= formatDate(s.DTTime1[1], "hh:mm:ss", loc))
            app.Timer1.setEnabled(true);
    }
    f.notify();
}

void intervalStepUp(AppState& app)
{
    auto& t = app.settings.DTPInterval;
    int h = t.hour, m = t.minute, sec = t.second;
    if (sec >= 50) {
        sec = 0;
        if (m >= 59) {
            m = 0;
            h = h >= 23 ? 0 : h + 1;
        } else {
            ++m;
        }
    } else {
        sec += 10;
    }
    t = DateTime::timeOfDay(h, m, sec);
    app.form1.notify();
}

void intervalStepDown(AppState& app)
{
    auto& t = app.settings.DTPInterval;
    if (t.second >= 10)
        t = DateTime::timeOfDay(t.hour, t.minute, t.second - 10);
    app.form1.notify();
}

void txtTimeStepUp(AppState& app)
{
    const auto value = parseNumber(app.settings.txtTime).value_or(0);
    app.settings.txtTime = std::to_string(roundHalfEven(value) + 1);
    app.form1.notify();
}

void txtTimeStepDown(AppState& app)
{
    const auto value = parseNumber(app.settings.txtTime).value_or(0);
    if (value >= 2)
        app.settings.txtTime = std::to_string(roundHalfEven(value) - 1);
    app.form1.notify();
}

void timerHold(AppState& app)
{
    app.Timer1.setEnabled(true);
    app.tmrStat.setEnabled(true);
    app.frmIndDri.Timer1.setEnabled(true);
}

} // namespace volmara
