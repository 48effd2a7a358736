#pragma once

#include "core/observer.h"
#include "core/watch_entry.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace volmara {

// Column headers in column order; the trigger column's header carries the unit suffix the
// main window's state holds (`Form1State::triggerHeader`).
inline constexpr std::array<std::string_view, 5> kWatchListHeaders{
    "Drive Path", "Free Space", "Total Size", "Trigger Space", "Time Last Checked"};

// The watch list `ListView1`. Its order matters: the cycle and the settings file walk it.
class WatchList : public Observable {
public:
    enum Column { DrivePath = 0, FreeSpace, TotalSize, TriggerSpace, TimeLastChecked, ColumnCount };

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    // Index access as the list control gives it: a row that no longer exists is an error
    // of kind IndexOutOfRange, which the watch tick handles.
    WatchEntry& at(std::size_t index);
    const WatchEntry& at(std::size_t index) const;

    const std::vector<WatchEntry>& rows() const { return rows_; }
    std::vector<WatchEntry>& rows() { return rows_; }

    WatchEntry& append(WatchEntry entry);
    // The ids of the rows, in list order.
    std::vector<std::uint64_t> ids() const;
    // The entry with this id; nullptr once it was removed.
    WatchEntry* find(std::uint64_t id);
    // As find(), but a removed entry is the list control's index error (IndexOutOfRange).
    WatchEntry& byId(std::uint64_t id);
    void removeSelected();
    void clear();
    // Clicking a header sorts by that column, toggling ascending and descending.
    void sortByColumn(int column);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }

    static std::string cellText(const WatchEntry& entry, int column);

private:
    std::vector<WatchEntry> rows_;
    std::uint64_t nextId_ = 1;
    std::size_t lastFound_ = 0;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

} // namespace volmara
