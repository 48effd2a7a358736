#pragma once

#include "core/form1_model.h"
#include "core/main_layout.h"

#include <QMainWindow>

#include <array>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QStackedWidget;
class QToolBar;

namespace volmara {

class LinkLabel;
class MainMenus;
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

    // Toolbar button 5 and "Set Program Settings": the full height, or the upper region only.
    void toggleView();
    // "Set Program Settings": the full view, or a word that it is shown already.
    void mnuProgSet_Click();
    // A toolbar click, dispatched by the button's caption at the time of the click.
    void Toolbar1_ButtonClick(const QString& caption);
    MainMenus& menus() const { return *menus_; }
    // The window is 9100 twips high or more.
    bool fullView() const;
    // Toolbar button 5's caption: "View" until the first toggle.
    QString viewCaption() const;

signals:
    // The unload handling has run; the program ends now.
    void unloaded();
    // The view was toggled; its caption changed.
    void viewChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildToolbar();
    QWidget* buildWatchFrame();
    QWidget* buildPages();
    void buildStatusBar();
    // The tray icon, the lock window and the about box.
    void bindShellWindows();
    void refresh();
    void applyWindowOptions();
    int compactTwips() const;
    void showPages(bool shown);
    void applySize(WindowSize size);

    Form1Model model_;
    bool unloaded_ = false;
    MainView view_ = MainView::Initial;
    // 9100 twips, or the least height of the full window when its content needs more.
    int fullHeight_ = kFullHeight;
    // The upper region's height when the view last turned compact.
    int compactHeight_ = 0;
    bool applyingLayout_ = false;

    QToolBar* Toolbar1_ = nullptr;
    QWidget* Frame8_ = nullptr;
    QWidget* Label8_ = nullptr;
    QWidget* pages_ = nullptr;
    QAction* toolbarButton1_ = nullptr;
    QAction* toolbarView_ = nullptr;
    MainMenus* menus_ = nullptr;
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
