#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QTimeEdit;

namespace volmara {

class Form1Model;

// Page `frmSp` 1 "Options": the event and response lists, the custom watch time and the interval.
class OptionsPage final : public QWidget {
    Q_OBJECT
public:
    OptionsPage(Form1Model& model, QWidget* parent = nullptr);

    void refresh();

private:
    QWidget* buildEvents();
    QWidget* buildResponses();
    QWidget* buildCustomTime();
    QWidget* buildInterval();

    Form1Model& model_;
    QListWidget* lstEvt_ = nullptr;
    QListWidget* lstAct_ = nullptr;
    QCheckBox* chkCustTime_ = nullptr;
    std::array<QTimeEdit*, 2> DTTime1_{};
    QTimeEdit* DTPInterval_ = nullptr;
    QLineEdit* txtTime_ = nullptr;
    QCheckBox* chkSaveSet_ = nullptr;
    QCheckBox* chkLogTimeMon_ = nullptr;
};

} // namespace volmara
