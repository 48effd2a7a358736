#pragma once

#include "shell/frm_about.h"

#include <QWidget>

class QLabel;

namespace volmara {

// "About Volmara": the texts, the two buttons and the fan of lines that follows the mouse.
// Made the first time the model is shown, then only shown and hidden.
class FrmAboutWindow final : public QWidget {
    Q_OBJECT
public:
    static FrmAboutWindow& ensureFor(FrmAbout& model, QWidget& owner);

    FrmAboutWindow(FrmAbout& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refresh();
    QLabel* label(const QString& name, const QString& text);

    FrmAbout& model_;
    QLabel* lblVersion_ = nullptr;
};

} // namespace volmara
