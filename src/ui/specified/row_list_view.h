#pragma once

#include "alerts/specified_lists.h"
#include "ui/binding.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTreeWidget>

#include <array>
#include <string_view>

namespace volmara {

// A list view of the "Spec." page over a RowList: it shows the rows, and tells the list which row
// the user selects and which header the user clicks. Sorting is the list's: the view only shows
// the order it gets.
template <std::size_t N>
QTreeWidget* makeRowListView(QWidget* parent, const QString& name, const std::array<std::string_view, N>& headers)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSortingEnabled(false);
    tree->header()->setSectionsClickable(true);
    tree->header()->setSortIndicatorShown(false);
    QStringList captions;
    for (const auto header : headers)
        captions << qs(header);
    tree->setHeaderLabels(captions);
    return tree;
}

template <typename Row>
void showRows(QTreeWidget& tree, const RowList<Row>& list, int columns)
{
    const QSignalBlocker blocker(&tree);
    const int scrolled = tree.verticalScrollBar()->value();
    tree.clear();
    QTreeWidgetItem* chosen = nullptr;
    for (const auto& item : list.items()) {
        auto* row = new QTreeWidgetItem(&tree);
        for (int column = 0; column < columns; ++column)
            row->setText(column, qs(item.row.cell(column)));
        row->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(item.id));
        if (list.selectedId() == item.id)
            chosen = row;
    }
    if (chosen) {
        tree.setCurrentItem(chosen);
        chosen->setSelected(true);
    }
    tree.verticalScrollBar()->setValue(scrolled);
    if (list.sorted()) {
        tree.header()->setSortIndicatorShown(true);
        tree.header()->setSortIndicator(list.sortColumn(), list.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

// The id of the row the user selected; nothing when no row is.
inline std::optional<std::uint64_t> selectedRowId(const QTreeWidget& tree)
{
    const auto selected = tree.selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.front()->data(0, Qt::UserRole).toULongLong();
}

} // namespace volmara
