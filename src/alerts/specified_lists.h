#pragma once

#include "core/observer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// One row of `LVFile`, the specified files and folders.
struct SpecifiedFileRow {
    std::string tag;      // the full path: the row's identity
    std::string text;     // "File/Folder(s)"
    std::string size;     // "Size"
    std::string sizeTag;  // the KB number the size shows, "n/a" for a missing path
    std::string location; // "File Path Location"
    std::string accessed; // "Last Accessed"
    std::string modified; // "Modified"
    std::string created;  // "Created"
    std::string type;     // "Type"

    std::string cell(int column) const;
    bool operator==(const SpecifiedFileRow&) const = default;
};

inline constexpr std::array<std::string_view, 7> kLVFileHeaders{
    "File/Folder(s)", "Size", "File Path Location", "Last Accessed", "Modified", "Created", "Type"};

// One row of `LVProg`, the specified programs.
struct SpecifiedProgramRow {
    std::string tag;      // the program's path as it was given
    std::string text;     // "Program"
    std::string action = "Execute";
    std::string location; // "File Path "
    std::string type;

    std::string cell(int column) const;
    bool operator==(const SpecifiedProgramRow&) const = default;
};

inline constexpr std::array<std::string_view, 4> kLVProgHeaders{"Program", "Action", "File Path ", "Type"};

// A list view of the "Spec." page: rows with ids (commands that ask questions find their row again
// by id after every suspension), one selected row, and the header sort that, once switched on,
// keeps the rows sorted as they come.
template <typename Row>
class RowList : public Observable {
public:
    struct Item {
        std::uint64_t id;
        Row row;
    };

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::vector<Item>& items() const { return items_; }
    const Row& at(std::size_t index) const { return items_.at(index).row; }

    Row* find(std::uint64_t id)
    {
        const auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& i) { return i.id == id; });
        return it == items_.end() ? nullptr : &it->row;
    }
    std::optional<std::size_t> indexOf(std::uint64_t id) const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].id == id)
                return i;
        return std::nullopt;
    }
    // Row ids in list order.
    std::vector<std::uint64_t> ids() const
    {
        std::vector<std::uint64_t> out;
        for (const auto& item : items_)
            out.push_back(item.id);
        return out;
    }

    std::uint64_t append(Row row)
    {
        const auto id = nextId_++;
        items_.push_back(Item{id, std::move(row)});
        if (sorted_)
            sortRows();
        changed();
        return id;
    }
    bool remove(std::uint64_t id)
    {
        const auto before = items_.size();
        std::erase_if(items_, [&](const Item& i) { return i.id == id; });
        if (items_.size() == before)
            return false;
        if (selected_ == id)
            selected_.reset();
        changed();
        return true;
    }
    void clear()
    {
        items_.clear();
        selected_.reset();
        changed();
    }
    // The rows a stored list brings back, without counting as a change.
    void restore(std::vector<Row> rows)
    {
        for (auto& row : rows)
            items_.push_back(Item{nextId_++, std::move(row)});
        if (sorted_)
            sortRows();
    }

    std::optional<std::uint64_t> selectedId() const { return selected_; }
    const Row* selected() const
    {
        for (const auto& item : items_)
            if (selected_ == item.id)
                return &item.row;
        return nullptr;
    }
    void select(std::optional<std::uint64_t> id) { selected_ = id; }
    void selectIndex(std::size_t index)
    {
        if (index < items_.size())
            selected_ = items_[index].id;
    }

    // Clicking a header: descending when the order was ascending, else ascending, by that column.
    void sortByColumn(int column)
    {
        ascending_ = !ascending_;
        sortColumn_ = column;
        sorted_ = true;
        sortRows();
        changed();
    }
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }
    bool sorted() const { return sorted_; }

    // Called after every change of the rows (their set or their order), not of the selection.
    std::function<void()> onRowsChanged;
    // A command of the list is running: the next waits its turn rather than acting on rows the
    // first one still holds.
    bool commandRunning = false;
    // A command over every row is running: the window shows the wait cursor.
    bool waitCursor = false;

private:
    // Every change of the rows is shown, whoever made it (the responses remove rows too).
    void changed()
    {
        if (onRowsChanged)
            onRowsChanged();
        notify();
    }
    static std::string folded(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
        return text;
    }
    void sortRows()
    {
        std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
            const auto x = folded(a.row.cell(sortColumn_));
            const auto y = folded(b.row.cell(sortColumn_));
            return ascending_ ? x < y : y < x;
        });
    }

    std::vector<Item> items_;
    std::optional<std::uint64_t> selected_;
    std::uint64_t nextId_ = 1;
    int sortColumn_ = 0;
    // A list view's order is ascending until a click turns it: the first click sorts descending.
    bool ascending_ = true;
    bool sorted_ = false;
};

using SpecifiedFiles = RowList<SpecifiedFileRow>;
using SpecifiedPrograms = RowList<SpecifiedProgramRow>;

} // namespace volmara
