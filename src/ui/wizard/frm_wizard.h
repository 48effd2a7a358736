#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace volmara {

class WizardModel;
class WizardPage;

// "Volmara Wizard/Pref.": shows its model's seven pages one at a time and forwards the clicks.
// Created on first show; "&Close", "&OK" and the close button hide it, never destroy it.
class FrmWizard final : public QWidget {
    Q_OBJECT
public:
    // The window of `model` belonging to `owner`, created on first use, is shown.
    static FrmWizard& showFor(WizardModel& model, QWidget& owner);

    FrmWizard(WizardModel& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildButtons();
    void refresh();

    WizardModel& model_;
    QStackedWidget* pages_ = nullptr;
    std::array<WizardPage*, 7> Frame1_{};
    QLabel* lblOp_ = nullptr;
    QPushButton* cmdReverse_ = nullptr;
    QPushButton* cmdProgress_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
};

} // namespace volmara
