#include "alerts/activity_log.h"

#include "core/path_rules.h"
#include "core/watch_entry.h"
#include "platform/volumes.h"

#include <algorithm>

namespace volmara {

ActivityLog::ActivityLog(Files& files, const int& autoSave) : files_(files), autoSave_(autoSave) {}

void ActivityLog::prcAlertInfo(const std::string& strTime, const std::string& strLevel, const std::string& strAction,
                               std::int16_t intNotify, WatchEntry* ItmXA)
{
    if (ItmXA) {
        if (ItmXA->lastAlert.empty())
            ItmXA->lastAlert = strAction;
        else if (ItmXA->lastAlert == strAction)
            return;
    }

    rows_.push_front(AlertRow{strLevel, strTime, strAction});
    ++alerts_;
    if (strLevel == "High")
        ++highAlerts_;
    notify();

    // Record lines only join a log that exists; the end-of-cycle save creates it.
    if (autoSave_ == 1 && files_.fileExists(lblLog_)) {
        const auto& row = rows_.front();
        files_.appendFile(lblLog_, row.time + " | " + row.level + " | " + row.action + std::string(kCrLf));
    }

    if ((toLower(strLevel) == "high" || intNotify == 1) && onTrayAlert)
        onTrayAlert();
}

void ActivityLog::prependAlert(std::string_view message)
{
    txtAlert_.insert(0, message);
    notify();
}

void ActivityLog::saveNewLogText()
{
    const auto length = static_cast<std::int64_t>(txtAlert_.size());
    if (marker_ >= length)
        return;
    const auto fresh = txtAlert_.substr(0, static_cast<std::size_t>(length - marker_));
    files_.appendFile(lblLog_, fresh + std::string(kCrLf));
    marker_ = length;
}

void ActivityLog::saveWholeText() { files_.appendFile(lblLog_, txtAlert_ + std::string(kCrLf)); }

void ActivityLog::prcSaveLog()
{
    if (autoSave_ == 1)
        saveWholeText();
}

void ActivityLog::clear()
{
    txtAlert_.clear();
    rows_.clear();
    notify();
}

bool ActivityLog::deleteLog()
{
    if (!files_.fileExists(lblLog_))
        return false;
    files_.removeFile(lblLog_);
    return true;
}

void ActivityLog::prcLVLimit(std::int32_t lngLimit)
{
    const auto keep = static_cast<std::size_t>(std::max<std::int32_t>(lngLimit, 0));
    if (rows_.size() <= keep)
        return;
    rows_.resize(keep);
    notify();
}

} // namespace volmara
