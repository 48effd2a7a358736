#pragma once

#include <QPoint>
#include <QTreeWidget>

#include <cstddef>
#include <optional>

class QLineEdit;

namespace volmara {

class Form1Model;

// `ListView1`: the watch list in report view with a check box and status icon per row, and
// the in-place editor of an entry's own trigger.
class WatchListView final : public QTreeWidget {
    Q_OBJECT
public:
    WatchListView(Form1Model& model, QWidget* parent = nullptr);

    // The in-place trigger editor; hidden unless a trigger cell is being edited.
    QLineEdit* triggerEditor() const { return editor_; }

    void refresh();

signals:
    // A right-button release over a list that holds entries: its menu, at `at` on the screen.
    void menuWanted(QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setInitialColumnWidths();
    void refreshHeader();
    void refreshRow(QTreeWidgetItem& item, std::size_t index);
    void onItemChanged(QTreeWidgetItem* item, int column);
    void onSelectionChanged();
    void onDoubleClicked(QTreeWidgetItem* item, int column);
    void commitEditor();
    void hideEditor();

    Form1Model& model_;
    QLineEdit* editor_;
    std::optional<std::size_t> editorRow_;
};

} // namespace volmara
