#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace volmara {

class AppState;

// Sub-page `fr` 2, "Specified File(s)": `cboFile`, the commands `lblSF`, the list `LVFile`,
// "Sequential Action" and the path the files are moved to with its chooser `lblFolder`.
class SpecifiedFilesPage final : public QWidget {
    Q_OBJECT
public:
    SpecifiedFilesPage(AppState& app, QWidget* parent = nullptr);

    QTreeWidget* list() const { return LVFile_; }

private:
    QWidget* buildCommands();
    QWidget* buildPathToMove();
    void refreshList();
    void refreshBox();
    void refreshForm();

    AppState& app_;
    QComboBox* cboFile_ = nullptr;
    QTreeWidget* LVFile_ = nullptr;
    QCheckBox* chkSeq_ = nullptr;
    QLineEdit* txtDrive_ = nullptr;
};

} // namespace volmara
