#pragma once

#include <QWidget>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace volmara {

class NotifyModel;
class EmailAcctPage;
class NotifyContentPage;
class SendOptionsPage;
class CustomMessagePage;

// "Notification Settings": shows its model's four pages and forwards the user's edits to it.
// Created on first show; hidden, never destroyed, by "&OK", "&Cancel" and the close button.
class FrmNotify final : public QWidget {
    Q_OBJECT
public:
    // The window of `model` belonging to `owner`, created on first use, is shown.
    static FrmNotify& showFor(NotifyModel& model, QWidget& owner);

    FrmNotify(NotifyModel& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildButtons();
    void refresh();

    NotifyModel& model_;
    QTabBar* TabStrip1_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    NotifyContentPage* contentPage_ = nullptr;
    SendOptionsPage* sendOptionsPage_ = nullptr;
    CustomMessagePage* customMessagePage_ = nullptr;
    EmailAcctPage* emailAcctPage_ = nullptr;
    QLabel* StatusTxt_ = nullptr;
};

} // namespace volmara
