#include "core/path_events.h"

#include "core/error.h"
#include "core/watch_entry.h"

#include "core/format.h"

#include <algorithm>
#include <charconv>

namespace volmara {

namespace {

constexpr std::string_view kBlockEnd = "\r\n.\r\n";

// The digits after `key` up to the next "|".
std::optional<std::uint64_t> numberAfter(const std::string& text, std::string_view key)
{
    const auto at = text.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const auto begin = at + key.size();
    const auto end = text.find('|', begin);
    if (end == std::string::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [last, error] = std::from_chars(text.data() + begin, text.data() + end, value);
    if (error != std::errc() || last != text.data() + end)
        return std::nullopt;
    return value;
}

} // namespace

std::string stagnancyEvent(const WatchEntry& entry, const std::string& currentFreeText)
{
    if (entry.prevFree.empty() || entry.prevFree != currentFreeText)
        return {};
    return "Free space stagnancy in: " + entry.path + " at size " + currentFreeText + " KB" + std::string(kBlockEnd);
}

std::string changeEvent(const WatchEntry& entry, const std::string& currentFreeText)
{
    if (entry.prevFree.empty() || entry.prevFree == currentFreeText)
        return {};
    return "Free space change in: " + entry.path + " at size " + currentFreeText + " KB" + std::string(kBlockEnd);
}

std::optional<FolderCounts> parseCounts(const std::string& counts)
{
    const auto files = numberAfter(counts, "file:");
    const auto folders = numberAfter(counts, "fold:");
    if (!files || !folders)
        return std::nullopt;
    return FolderCounts{*files, *folders};
}

std::string amountEvent(const WatchEntry& entry, const std::optional<FolderCounts>& current)
{
    const auto previous = parseCounts(entry.counts);
    if (!previous)
        return {};
    if (!current)
        throw Error(ErrorKind::Other, "Path not found");
    std::string text;
    if (current->files != previous->files)
        text += "File Quantity changed in " + entry.path + " from " + std::to_string(previous->files) + " to " +
                std::to_string(current->files) + std::string(kBlockEnd);
    if (current->folders != previous->folders)
        text += "Folder Quantity changed in " + entry.path + " from " + std::to_string(previous->folders) + " to " +
                std::to_string(current->folders) + std::string(kBlockEnd);
    return text;
}

std::string modifiedFilesText(std::vector<FileStamp> files)
{
    std::sort(files.begin(), files.end(), [](const FileStamp& a, const FileStamp& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.name < b.name;
    });
    std::string text;
    const auto shown = std::min(files.size(), kModifiedFilesShown);
    for (std::size_t i = 0; i < shown; ++i) {
        if (!text.empty())
            text += "; ";
        text += files[i].name + " (" + formatDate(files[i].modified, "yyyy/mm/dd HH:mm:ss") + ")";
    }
    if (files.size() > shown)
        text += "; and " + std::to_string(files.size() - shown) + " more";
    return text;
}

} // namespace volmara
