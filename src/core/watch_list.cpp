#include "core/watch_list.h"

#include "core/error.h"
#include "core/path_rules.h"

#include <algorithm>

namespace volmara {

WatchEntry& WatchList::at(std::size_t index)
{
    if (index >= rows_.size())
        throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
    return rows_[index];
}

const WatchEntry& WatchList::at(std::size_t index) const
{
    if (index >= rows_.size())
        throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
    return rows_[index];
}

WatchEntry& WatchList::append(WatchEntry entry)
{
    entry.id = nextId_++;
    rows_.push_back(std::move(entry));
    return rows_.back();
}

std::vector<std::uint64_t> WatchList::ids() const
{
    std::vector<std::uint64_t> ids;
    ids.reserve(rows_.size());
    for (const auto& row : rows_)
        ids.push_back(row.id);
    return ids;
}

WatchEntry* WatchList::find(std::uint64_t id)
{
    // A check asks for the same entry, then the next: look where the last answer was first.
    for (const std::size_t at : {lastFound_, lastFound_ + 1}) {
        if (at < rows_.size() && rows_[at].id == id) {
            lastFound_ = at;
            return &rows_[at];
        }
    }
    const auto it = std::find_if(rows_.begin(), rows_.end(), [id](const WatchEntry& e) { return e.id == id; });
    if (it == rows_.end())
        return nullptr;
    lastFound_ = static_cast<std::size_t>(it - rows_.begin());
    return &*it;
}

WatchEntry& WatchList::byId(std::uint64_t id)
{
    if (auto* entry = find(id))
        return *entry;
    throw Error(ErrorKind::IndexOutOfRange, "Index out of bounds");
}

void WatchList::removeSelected()
{
    // From the last row to the first, so that removing one does not skip the next.
    for (auto i = rows_.size(); i-- > 0;) {
        if (rows_[i].selected)
            rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void WatchList::clear() { rows_.clear(); }

std::string WatchList::cellText(const WatchEntry& entry, int column)
{
    switch (column) {
    case DrivePath: return entry.path;
    case FreeSpace: return entry.freeText;
    case TotalSize: return entry.totalText;
    case TriggerSpace: return entry.triggerText;
    case TimeLastChecked: return entry.lastChecked;
    default: return {};
    }
}

void WatchList::sortByColumn(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    // Every click toggles the order, whichever column it lands on; the first sorts ascending.
    ascending_ = sortColumn_ < 0 ? true : !ascending_;
    sortColumn_ = column;
    // The list control sorts its cell texts, without regard to case.
    std::stable_sort(rows_.begin(), rows_.end(), [&](const WatchEntry& a, const WatchEntry& b) {
        const auto ka = toLower(cellText(a, column));
        const auto kb = toLower(cellText(b, column));
        return ascending_ ? ka < kb : kb < ka;
    });
}

} // namespace volmara
