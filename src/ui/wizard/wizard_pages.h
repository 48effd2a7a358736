#pragma once

#include <QGroupBox>

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimeEdit;

namespace volmara {

class WizardModel;
enum class WizardList;

// One page of the wizard (`Frame1`, "Prog Option"); a mouse press on it enables "&Apply".
class WizardPage : public QGroupBox {
    Q_OBJECT
public:
    WizardPage(WizardModel& model, QWidget* parent);
    virtual void refresh() = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    WizardModel& model_;
};

// Page 0: the minimum space, its unit and the file kinds that suggest it.
class SpacePage final : public WizardPage {
    Q_OBJECT
public:
    SpacePage(WizardModel& model, QWidget* parent);
    void refresh() override;

private:
    std::array<QCheckBox*, 3> chkop_{};
    std::array<QRadioButton*, 2> OpDriv_{};
    QLineEdit* txtFreeSpace_ = nullptr;
};

// Page 1: the check interval, the connection speed that suggests it, and the custom watch time.
class TimingPage final : public WizardPage {
    Q_OBJECT
public:
    TimingPage(WizardModel& model, QWidget* parent);
    void refresh() override;

private:
    void intervalEdited();
    void customTimesEdited();

    std::array<QRadioButton*, 3> Option1_{};
    QCheckBox* chkCustTime_ = nullptr;
    std::array<QTimeEdit*, 2> DTTime1_{};
    QTimeEdit* DTPicker1_ = nullptr;
};

// Pages 2 and 6: a path list with "Open Explorer", "Add", "..." and "Remove".
class PathListPage final : public WizardPage {
    Q_OBJECT
public:
    PathListPage(WizardModel& model, WizardList which, QWidget* parent);
    void refresh() override;

private:
    WizardList which_;
    QLineEdit* text_ = nullptr;
    QListWidget* items_ = nullptr;
};

// Page 3: the responses to tick.
class ResponsesPage final : public WizardPage {
    Q_OBJECT
public:
    ResponsesPage(WizardModel& model, QWidget* parent);
    void refresh() override;

private:
    QListWidget* lstAct_ = nullptr;
};

// Pages 4 and 5: one text box in its frame.
class TextPage final : public WizardPage {
    Q_OBJECT
public:
    enum class Field { FileTypes, MovePath };
    TextPage(WizardModel& model, Field field, QWidget* parent);
    void refresh() override;

private:
    Field field_;
    QLineEdit* text_ = nullptr;
};

} // namespace volmara
