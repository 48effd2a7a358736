#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTreeWidget;

namespace volmara {

class Form1Model;

// Page `frmSp` 3 "Alerts/Log": the alert list, its limit and the log commands.
class AlertsLogPage final : public QWidget {
    Q_OBJECT
public:
    AlertsLogPage(Form1Model& model, QWidget* parent = nullptr);

    void refresh();

private:
    QWidget* buildSettings();
    QWidget* buildCommands();
    void refreshAlerts();

    Form1Model& model_;
    QTreeWidget* LVAlert_ = nullptr;
    QLineEdit* txtAmt_ = nullptr;
    QCheckBox* chkLog_ = nullptr;
    QCheckBox* chkAutoSave_ = nullptr;
};

} // namespace volmara
