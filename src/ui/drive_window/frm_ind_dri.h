#pragma once

#include "driveinfo/drive_window_model.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTreeWidget;

namespace volmara {

class Meter2Widget;

// `picPie`: clears itself and lets the model's pie draw on it at every paint.
class PiePicture final : public QWidget {
    Q_OBJECT
public:
    PiePicture(const DriveWindowModel& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DriveWindowModel& model_;
};

// "Drive Settings - Zembrik Volmara": shows its model and forwards the user's clicks to it.
// Made the first time the model is shown, then only shown and hidden.
class FrmIndDri final : public QWidget {
    Q_OBJECT
public:
    // The window of `model` belonging to `owner`, made on first use.
    static FrmIndDri& ensureFor(DriveWindowModel& model, QWidget& owner);

    FrmIndDri(DriveWindowModel& model, QWidget* parent);

protected:
    // Closing the window unloads it; the model stays.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildTop();
    QWidget* buildLower();
    void refresh();
    void refreshList();
    int twips(int value) const;

    DriveWindowModel& model_;
    bool shown_ = false;
    int focusRequests_ = 0;

    QComboBox* Combo1_ = nullptr;
    QPushButton* cmdToggle_ = nullptr;
    PiePicture* picPie_ = nullptr;
    QLabel* lblP_ = nullptr;
    QTreeWidget* ListView1_ = nullptr;
    QWidget* lower_ = nullptr;
    Meter2Widget* VMeter1_ = nullptr;
    Meter2Widget* VMeter2_ = nullptr;
    QScrollBar* VScroll1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    std::array<QRadioButton*, 2> Option1_{};
    std::array<QProgressBar*, 2> ProgressBar1_{};
    QCheckBox* Check1_ = nullptr;
};

} // namespace volmara
