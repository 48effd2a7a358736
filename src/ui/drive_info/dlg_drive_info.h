#pragma once

#include "driveinfo/drive_info_model.h"

#include <QDialog>

#include <array>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTreeWidget;

namespace volmara {

// "Advance Data Display": shows its model's four pages and forwards the user's choices to it.
// Modeless; hidden by "&OK", destroyed when the model unloads.
class DlgDriveInfo final : public QDialog {
    Q_OBJECT
public:
    // What "Adv. Info" does: the window of `model` belonging to `owner`, created on first use and
    // anew after an unload, is shown.
    static DlgDriveInfo& showFor(DriveInfoModel& model, QWidget& owner);

    DlgDriveInfo(DriveInfoModel& model, QWidget* parent);

protected:
    // Escape and the title bar's close button hide the window as "&OK" does.
    void reject() override;
    // F1 asks the model for help; the keys the children leave alone reach the dialog here.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildPartitionPage();
    QWidget* buildAttributePage();
    QWidget* buildChart(int index);

    void onChange(DriveInfoModel::Change change);
    void showVisibility();
    void showPage();
    void showFreeSpaceChart();
    void showDistributionChart();
    void showPartitionDrives();
    void showPartition();
    void showAttributeDrives();
    void showAttributes();
    void unload();
    void replaceChart(int index, QChart* chart);

    DriveInfoModel& model_;
    bool unloaded_ = false;

    QComboBox* Combo1_ = nullptr;
    QLabel* lblDesc_ = nullptr;
    QStackedWidget* pageArea_ = nullptr;
    std::array<QChartView*, 2> MSChart1_{};
    QComboBox* drvDrive_ = nullptr;
    QTreeWidget* lvInfo_ = nullptr;
    QPlainTextEdit* txtBytes_ = nullptr;
    QPlainTextEdit* txtChar_ = nullptr;
    QComboBox* cboDrives_ = nullptr;
    std::array<QLabel*, 7> lblInfo_{};
};

} // namespace volmara
