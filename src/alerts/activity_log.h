#pragma once

#include "core/observer.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace volmara {

class Files;
struct WatchEntry;

inline constexpr std::string_view kCrLf = "\r\n";

// One row of `LVAlert`.
struct AlertRow {
    std::string level; // "Rating"
    std::string time;  // "Time/Date"
    std::string action; // "Action Taken"
    bool operator==(const AlertRow&) const = default;
};

// The activity log: the alert list, the current-alerts text, the counters and log.dat.
class ActivityLog : public Observable {
public:
    // `autoSave` is the "Auto Save Log to file" check value, read at every record.
    ActivityLog(Files& files, const int& autoSave);

    void setLogPath(std::string path) { lblLog_ = std::move(path); }
    const std::string& lblLog() const { return lblLog_; }

    // Records one alert; an entry whose last-alert field equals `strAction` suppresses it.
    // File errors propagate to the caller.
    void prcAlertInfo(const std::string& strTime, const std::string& strLevel, const std::string& strAction,
                      std::int16_t intNotify, WatchEntry* ItmXA);

    // Puts a message in front of the current-alerts text (newest first).
    void prependAlert(std::string_view message);

    // End of a watch cycle: appends the text added since the last save and moves the marker.
    void saveNewLogText();
    // "Save": the whole current-alerts text, marker untouched.
    void saveWholeText();
    // The alert dialog's dismissal: the whole current-alerts text, when auto-save is on.
    void prcSaveLog();
    // "Clear": text and list emptied; counters, marker and file untouched.
    void clear();
    // "Delete Log". Returns false when there was no file to delete.
    bool deleteLog();
    // Trims the alert list to `lngLimit` rows, removing the oldest (bottom) rows.
    void prcLVLimit(std::int32_t lngLimit);

    const std::deque<AlertRow>& LVAlert() const { return rows_; }
    const std::string& txtAlert() const { return txtAlert_; }
    std::int64_t savedLength() const { return marker_; }
    std::int32_t g_lngAlerts() const { return alerts_; }
    std::int32_t g_lngHighAlerts() const { return highAlerts_; }

    // The tray window's alert timer; bound when the tray exists.
    std::function<void()> onTrayAlert;

private:
    Files& files_;
    const int& autoSave_;
    std::string lblLog_;
    std::deque<AlertRow> rows_;
    std::string txtAlert_;
    std::int64_t marker_ = 0;
    std::int32_t alerts_ = 0;
    std::int32_t highAlerts_ = 0;
};

} // namespace volmara
