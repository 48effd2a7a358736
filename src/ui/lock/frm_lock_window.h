#pragma once

#include "shell/frm_lock.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace volmara {

// "Program Lock": shows its model and forwards the user's typing and clicks to it. Made the
// first time the model is shown, then only shown and hidden.
class FrmLockWindow final : public QWidget {
    Q_OBJECT
public:
    static FrmLockWindow& ensureFor(FrmLock& model, QWidget& owner);

    FrmLockWindow(FrmLock& model, QWidget* parent);

protected:
    // Closing hides the window; the model stays.
    void closeEvent(QCloseEvent* event) override;

private:
    void refresh();

    FrmLock& model_;
    QLineEdit* Text1_ = nullptr;
    QLabel* lblLock_ = nullptr;
    QPushButton* Command1_ = nullptr;
};

} // namespace volmara
