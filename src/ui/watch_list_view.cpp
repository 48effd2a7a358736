#include "ui/watch_list_view.h"

#include "core/form1_model.h"
#include "ui/alert/shell_icons.h"
#include "ui/binding.h"
#include "ui/pictures.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace volmara {

namespace {

QStringList headerCaptions(const Form1State& form)
{
    QStringList captions;
    for (const auto header : kWatchListHeaders)
        captions << qs(header);
    captions[WatchList::TriggerSpace] = qs(form.triggerHeader);
    return captions;
}

Qt::Alignment columnAlignment(int column)
{
    const bool number = column == WatchList::FreeSpace || column == WatchList::TotalSize ||
                        column == WatchList::TriggerSpace;
    return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

WatchListView::WatchListView(Form1Model& model, QWidget* parent)
    : QTreeWidget(parent), model_(model), editor_(new QLineEdit(viewport()))
{
    setObjectName(QStringLiteral("ListView1"));
    setColumnCount(WatchList::ColumnCount);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false); // the model orders the rows
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(true);
    for (int c = 0; c < WatchList::ColumnCount; ++c)
        headerItem()->setTextAlignment(c, columnAlignment(c));
    setInitialColumnWidths();

    editor_->setObjectName(QStringLiteral("txtTrigger"));
    editor_->hide();
    editor_->installEventFilter(this);

    connect(this, &QTreeWidget::itemChanged, this, &WatchListView::onItemChanged);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &WatchListView::onSelectionChanged);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &WatchListView::onDoubleClicked);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int column) { guarded("sort", [&] { model_.sortByColumn(column); }); });
    connect(editor_, &QLineEdit::returnPressed, this, &WatchListView::commitEditor);

    refreshOn(model_.app().ListView1, this, [](WatchListView& v) { v.refresh(); });
    refreshOn(model_.app().form1, this, [](WatchListView& v) { v.refreshHeader(); });
    refresh();
}

void WatchListView::setInitialColumnWidths()
{
    const auto& metrics = fontMetrics();
    const int padding = 3 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize);
    const int size = metrics.horizontalAdvance(QStringLiteral("000,000,000,000 KB")) + padding;
    setColumnWidth(WatchList::DrivePath, metrics.horizontalAdvance(QStringLiteral("/media/user/volume/")) + icon + padding);
    setColumnWidth(WatchList::FreeSpace, size + icon);
    setColumnWidth(WatchList::TotalSize, size);
    setColumnWidth(WatchList::TriggerSpace, metrics.horizontalAdvance(QStringLiteral("Trigger Space( %)")) + padding);
}

void WatchListView::refresh()
{
    const QSignalBlocker blocker(this);
    const auto& list = model_.app().ListView1;
    while (static_cast<std::size_t>(topLevelItemCount()) > list.size())
        delete takeTopLevelItem(topLevelItemCount() - 1);
    while (static_cast<std::size_t>(topLevelItemCount()) < list.size()) {
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        // Without a check state of its own a row shows no check box at all.
        item->setCheckState(WatchList::DrivePath, Qt::Unchecked);
        for (int c = 0; c < WatchList::ColumnCount; ++c)
            item->setTextAlignment(c, columnAlignment(c));
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        refreshRow(*topLevelItem(static_cast<int>(i)), i);
    if (editorRow_ && *editorRow_ >= list.size())
        hideEditor();
    refreshHeader();
}

void WatchListView::refreshHeader()
{
    const auto captions = headerCaptions(model_.app().form1);
    for (int c = 0; c < WatchList::ColumnCount; ++c)
        if (headerItem()->text(c) != captions[c])
            headerItem()->setText(c, captions[c]);
}

void WatchListView::refreshRow(QTreeWidgetItem& item, std::size_t index)
{
    const auto& entry = model_.app().ListView1.rows()[index];
    for (int c = 0; c < WatchList::ColumnCount; ++c) {
        const auto text = qs(WatchList::cellText(entry, c));
        if (item.text(c) != text)
            item.setText(c, text);
    }
    const auto check = entry.watched ? Qt::Checked : Qt::Unchecked;
    if (item.checkState(WatchList::DrivePath) != check)
        item.setCheckState(WatchList::DrivePath, check);
    // An unwatched entry shows its path's shell icon once the cycle has fetched it.
    const bool shell = !entry.watched && entry.shellIcon != 0;
    const int icon = shell ? 100 + entry.shellIcon : static_cast<int>(entry.icon);
    if (item.data(WatchList::FreeSpace, Qt::UserRole) != QVariant(icon)) {
        item.setIcon(WatchList::FreeSpace, shell ? imageListLVIcon(*style(), model_.app().ImageListLV, entry.shellIcon)
                                                 : statusIcon(*style(), entry.icon));
        item.setData(WatchList::FreeSpace, Qt::UserRole, icon);
    }
    if (item.isSelected() != entry.selected)
        item.setSelected(entry.selected);
}

void WatchListView::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != WatchList::DrivePath)
        return;
    const auto index = static_cast<std::size_t>(indexOfTopLevelItem(item));
    const bool watched = item->checkState(column) == Qt::Checked;
    if (index < model_.app().ListView1.size() && model_.app().ListView1.rows()[index].watched != watched)
        guarded("setWatched", [&] { model_.setWatched(index, watched); });
}

void WatchListView::onSelectionChanged()
{
    auto& rows = model_.app().ListView1.rows();
    for (std::size_t i = 0; i < rows.size() && i < static_cast<std::size_t>(topLevelItemCount()); ++i)
        rows[i].selected = topLevelItem(static_cast<int>(i))->isSelected();
}

void WatchListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton && topLevelItemCount() > 0)
        emit menuWanted(event->globalPosition().toPoint());
}

void WatchListView::onDoubleClicked(QTreeWidgetItem* item, int column)
{
    // The trigger cell keeps its own gesture; a double click anywhere else opens the drive window.
    if (!item || !model_.triggerEditable(column)) {
        hideEditor();
        if (item) {
            const auto index = static_cast<std::size_t>(indexOfTopLevelItem(item));
            guarded("openDriveWindow", [&] { model_.openDriveWindowFor(index); });
        }
        return;
    }
    editorRow_ = static_cast<std::size_t>(indexOfTopLevelItem(item));
    editor_->setGeometry(visualRect(indexFromItem(item, column)));
    editor_->setText(item->text(column));
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
}

void WatchListView::commitEditor()
{
    if (!editorRow_)
        return;
    // The text goes to the row the editor was opened over, wherever the mouse is now.
    const auto row = *editorRow_;
    bool stored = false;
    guarded("commitTrigger", [&] { stored = model_.commitTrigger(row, editor_->text().toStdString()); });
    if (stored)
        hideEditor();
    else
        editor_->clear();
}

void WatchListView::hideEditor()
{
    editorRow_.reset();
    editor_->hide();
}

bool WatchListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::FocusOut) {
        // A message box about the text takes the focus without the user leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            hideEditor();
    }
    return QTreeWidget::eventFilter(watched, event);
}

} // namespace volmara
