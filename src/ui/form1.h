#pragma once

#include "core/form1_model.h"

#include <QMainWindow>

#include <array>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace volmara {

class LinkLabel;
class SpecifiedOptionsPage;
class WatchListView;

// The main window: shows its model and forwards the user's clicks to it.
class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    Form1Model& model() { return model_; }

    // Start-up of the program: the window is shown, then the model loads.
    void Form_Load();

    void lblTab_Click(int index);
    int currentPage() const;
    WatchListView* watchList() const { return ListView1_; }

signals:
    // The unload handling has run; the program ends now.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildToolbar();
    QWidget* buildWatchFrame();
    QWidget* buildPages();
    void buildStatusBar();
    // The tray icon, the lock window and the about box.
    void bindShellWindows();
    void refresh();

    Form1Model model_;
    bool unloaded_ = false;

    QAction* toolbarButton1_ = nullptr;
    WatchListView* ListView1_ = nullptr;
    QPushButton* cmdPause_ = nullptr;
    std::vector<LinkLabel*> lblTab_;
    QStackedWidget* frmSp_ = nullptr;
    SpecifiedOptionsPage* specifiedPage_ = nullptr;
    QLabel* lblTabCap_ = nullptr;
    QLabel* panel1Picture_ = nullptr;
    std::array<QLabel*, 3> StatusBar1_{};
};

} // namespace volmara
