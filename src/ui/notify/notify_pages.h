#pragma once

#include <QWidget>

#include <array>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimeEdit;

namespace volmara {

class NotifyModel;
enum class NotifyText;

// The four pages of the notification window; each shows its part of the model and forwards
// the user's edits and clicks to it.

// "Notify Content:"
class NotifyContentPage final : public QWidget {
    Q_OBJECT
public:
    NotifyContentPage(NotifyModel& model, QWidget* parent);
    void refresh();

private:
    NotifyModel& model_;
    QListWidget* lstNotContent_ = nullptr;
    QLineEdit* txtCustomContent_ = nullptr;
    QLineEdit* txtCustEvtAmt_ = nullptr;
};

// "Send Option(s):"
class SendOptionsPage final : public QWidget {
    Q_OBJECT
public:
    SendOptionsPage(NotifyModel& model, QWidget* parent);
    void refresh();

private:
    NotifyModel& model_;
    QListWidget* lstNotTime_ = nullptr;
    QTimeEdit* DTPicker1_ = nullptr;
    QTimeEdit* DTPicker2_ = nullptr;
};

// "Custom Message:"
class CustomMessagePage final : public QWidget {
    Q_OBJECT
public:
    CustomMessagePage(NotifyModel& model, QWidget* parent);
    void refresh();

private:
    NotifyModel& model_;
    QLineEdit* txtCustMsg_ = nullptr;
};

// "Email Acct. Info:"
class EmailAcctPage final : public QWidget {
    Q_OBJECT
public:
    EmailAcctPage(NotifyModel& model, QWidget* parent);
    void refresh();

protected:
    // Enter in the recipient box belongs to the model alone: the combo box would see it again.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildRecipients();
    QWidget* buildProxy();
    void showRecipients();

    NotifyModel& model_;
    std::array<std::pair<QLineEdit*, NotifyText>, 7> account_{};
    QLabel* lblMailSecurity_ = nullptr;
    QComboBox* cboNotEmail_ = nullptr;
    QCheckBox* chkIsHTML_ = nullptr;
    QCheckBox* chkProxy_ = nullptr;
    QLineEdit* txtProxy_ = nullptr;
    QLineEdit* txtPort_ = nullptr;
};

} // namespace volmara
