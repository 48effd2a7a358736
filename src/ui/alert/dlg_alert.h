#pragma once

#include "alerts/alert_dialog.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace volmara {

class PressLabel;

// The alert dialog's window: shows its model and forwards the user's clicks to it. Modeless and
// on top of other windows; created the first time the model is shown, then only shown and
// hidden, by the model's commands and countdown.
class DlgAlert final : public QDialog {
    Q_OBJECT
public:
    // Follows `model` from now on: the window, owned by `owner`, appears when the model is first
    // shown. Returns the window once it exists (for tests), else null.
    static DlgAlert* attach(AlertDialog& model, QWidget& owner);

    DlgAlert(AlertDialog& model, QWidget* parent);

    void refresh();

protected:
    // Escape and the title bar's close button hide the dialog as "OK" does.
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildAlertPart();
    QWidget* buildActionPart();
    void placeParts();

    AlertDialog& model_;
    QWidget* alertPart_ = nullptr;
    QWidget* actionPart_ = nullptr;
    QGroupBox* alertFrame_ = nullptr;
    QPlainTextEdit* Label1_ = nullptr;
    QLabel* lblSuggest_ = nullptr;
    QCheckBox* chkLog_ = nullptr;
    QCheckBox* chkAutoHide_ = nullptr;
    std::array<PressLabel*, 5> lblAct_{};
    std::array<PressLabel*, 5> lblAl_{};
    std::string shownText_;
};

// 15 twips make one pixel on a standard display.
inline int twipsToPixels(int twips) { return twips / 15; }

} // namespace volmara
