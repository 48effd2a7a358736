#include "ui/form1.h"

#include "core/pause_control.h"
#include "shell/main_commands.h"
#include "shell/shell_commands.h"
#include "ui/alert/animation_view.h"
#include "ui/alert/dlg_alert.h"
#include "ui/about/frm_about_window.h"
#include "ui/lock/frm_lock_window.h"
#include "ui/tray/tray_icon.h"
#include "ui/binding.h"
#include "ui/drive_info/dlg_drive_info.h"
#include "ui/drive_window/frm_ind_dri.h"
#include "ui/link_label.h"
#include "ui/main_menus.h"
#include "ui/notify/frm_notify.h"
#include "ui/pages/alerts_log_page.h"
#include "ui/pages/config_page.h"
#include "ui/pages/options_page.h"
#include "ui/pages/overview_page.h"
#include "ui/pages/specified_options_page.h"
#include "ui/pictures.h"
#include "ui/watch_list_view.h"
#include "ui/wizard/frm_wizard.h"

#include <algorithm>

#include <QAction>
#include <QCoreApplication>
#include <QSystemTrayIcon>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace volmara {

namespace {

// The tab labels in `lblTab` index order; note that tabs 2 and 3 show pages 3 and 2.
struct Tab {
    const char* caption;
    const char* toolTip;
    int page;
};
constexpr std::array<Tab, 5> kTabs{{
    {"Spec.", "Specified Options (Files, Paths...)", 0},
    {"Options", "Program Options (Program pre-set actions/behaviors)", 1},
    {"Alerts/Log", "Program Alert Logs", 3},
    {"Config.", "Configurations (Program UI Settings)", 2},
    {"Overview", "Specified Options (Files, Paths...)", 4},
}};
// From the top of the column.
constexpr std::array<int, 5> kTabColumnOrder{4, 0, 1, 2, 3};
constexpr int kOverviewPage = 4;

const QColor kDarkBlue(0x00, 0x00, 0x40);
constexpr int kListRoom = 120; // pixels
const QColor kSilver(0xC0, 0xC0, 0xC0);


} // namespace

Form1::Form1(Services services, QWidget* parent) : QMainWindow(parent), model_(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    // The desktop's default application for the log's text.
    model_.openDocument = [](const std::string& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    buildToolbar();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Frame8_ = buildWatchFrame();
    layout->addWidget(Frame8_, 3);
    auto* label8 = new QLabel(QStringLiteral("Program Settings"), central);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->setToolTip(QStringLiteral("Program settings are the tabs below"));
    Label8_ = label8;
    layout->addWidget(label8);
    pages_ = buildPages();
    layout->addWidget(pages_, 4);
    setCentralWidget(central);
    buildStatusBar();

    refreshOn(model_.app().form1, this, [](Form1& f) { f.refresh(); });
    // The drive window is made the first time its model is shown.
    model_.app().frmIndDri.windowNeeded = [this] { FrmIndDri::ensureFor(model_.app().frmIndDri, *this); };
    DlgAlert::attach(model_.app().dlgAlert, *this);
    menus_ = new MainMenus(*this);
    bindShellWindows();
    lblTab_Click(0);
    QMainWindow::layout()->activate();
    const auto least = minimumSizeHint();
    setMinimumWidth(std::max(toPixels(kMinWidth), least.width()));
    // The full view gives the watch list room for a few rows beyond the pages' least height.
    fullHeight_ = std::max(kFullHeight, toTwips(least.height() + kListRoom));
    applySize(layoutSize(WindowSize{kStartWidth, fullHeight_}, compactTwips()));
    refresh();
}

Form1::~Form1()
{
    // The pages, the list, the menus and the dialogs refer to the model: they go first, while it
    // still exists.
    delete menus_;
    delete takeCentralWidget();
    qDeleteAll(findChildren<DlgDriveInfo*>(Qt::FindDirectChildrenOnly));
    model_.app().frmIndDri.windowNeeded = nullptr;
    qDeleteAll(findChildren<FrmIndDri*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<FrmNotify*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<DlgAlert*>(Qt::FindDirectChildrenOnly));
    auto& app = model_.app();
    app.frmLock.windowNeeded = nullptr;
    app.frmAbout.windowNeeded = nullptr;
    app.sysWorkSystray.bringToFront = nullptr;
    app.sysWorkSystray.popUpMenu = nullptr;
    qDeleteAll(findChildren<FrmLockWindow*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<FrmAboutWindow*>(Qt::FindDirectChildrenOnly));
    app.frmWizard.openWindow = nullptr;
    qDeleteAll(findChildren<FrmWizard*>(Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<TrayIcon*>(Qt::FindDirectChildrenOnly));
}

void Form1::bindShellWindows()
{
    auto& app = model_.app();
    app.startUpEntry.programPath = QCoreApplication::applicationFilePath().toStdString();
    app.sysWorkSystray.systemTrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    app.sysWorkSystray.bringToFront = [this] {
        if (isVisible()) {
            raise();
            activateWindow();
        }
    };
    app.sysWorkSystray.popUpMenu = [this] { menus_->mnuPopUp()->popup(QCursor::pos()); };
    new TrayIcon(app.sysWorkSystray, this);
    // The lock window and the about box are made the first time their models are shown.
    app.frmLock.windowNeeded = [this] { FrmLockWindow::ensureFor(model_.app().frmLock, *this); };
    app.frmAbout.windowNeeded = [this] { FrmAboutWindow::ensureFor(model_.app().frmAbout, *this); };
    // The first run opens the wizard over the main window.
    app.frmWizard.openWindow = [this] { FrmWizard::showFor(model_.app().frmWizard, *this); };
}

void Form1::buildToolbar()
{
    auto* toolbar = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1_ = toolbar;
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (std::size_t i = 0; i < kToolbar1Buttons.size(); ++i) {
        const auto& button = kToolbar1Buttons[i];
        if (button.caption.empty()) {
            toolbar->addSeparator();
            continue;
        }
        auto* action = toolbar->addAction(pictureIcon(button.imageKey), qs(std::string(button.caption)));
        action->setObjectName(QStringLiteral("Toolbar1Button%1").arg(i + 1));
        action->setToolTip(qs(std::string(button.toolTip)));
        // The caption at the time of the click decides, as it may have changed ("Pause", "View +").
        connect(action, &QAction::triggered, this, [this, action] { Toolbar1_ButtonClick(action->text()); });
        if (i == 0)
            toolbarButton1_ = action;
        if (toolbarCommand(button.caption) == ToolbarCommand::View)
            toolbarView_ = action;
    }
    connect(this, &Form1::viewChanged, this, [this] { toolbarView_->setText(viewCaption()); });
    // The busy and alert clips play at the toolbar's end.
    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    toolbar->addWidget(new AnimationView(model_.app().Animation1, toolbar));
    // The logo opens the about box.
    auto* logo = new QToolButton(toolbar);
    logo->setObjectName(QStringLiteral("Picture1"));
    logo->setIcon(programIcon());
    logo->setIconSize(QSize(32, 32));
    logo->setAutoRaise(true);
    logo->setToolTip(QStringLiteral("About Volmara"));
    connect(logo, &QToolButton::clicked, this, [this] { guarded("Picture1", [&] { mnuAboutVL_Click(model_.app()); }); });
    toolbar->addWidget(logo);
}

void Form1::Toolbar1_ButtonClick(const QString& caption)
{
    guarded("Toolbar1", [&] {
        auto& app = model_.app();
        switch (toolbarCommand(caption.toStdString())) {
        case ToolbarCommand::Pause:
            cmdPause_Click(app);
            break;
        case ToolbarCommand::Wizard:
            FrmWizard::showFor(app.frmWizard, *this);
            break;
        case ToolbarCommand::AdvancedInfo:
            DlgDriveInfo::showFor(app.dlgDriveInfo, *this);
            break;
        case ToolbarCommand::Functions:
            menus_->mnuFunc()->popup(QCursor::pos());
            break;
        case ToolbarCommand::View:
            toggleView();
            break;
        case ToolbarCommand::Help:
            openHelp(app);
            break;
        case ToolbarCommand::None:
            break;
        }
    });
}

void Form1::mnuProgSet_Click()
{
    if (fullView())
        model_.app().inform(std::string(kSettingsAlreadyShown), MsgIcon::Information);
    else
        toggleView();
}

QWidget* Form1::buildWatchFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Drive/Path(s) Listed Available to be Watched"), this);
    frame->setObjectName(QStringLiteral("Frame8"));
    auto* layout = new QVBoxLayout(frame);
    ListView1_ = new WatchListView(model_, frame);
    connect(ListView1_, &WatchListView::menuWanted, this, [this](QPoint at) { menus_->mnuLstV()->popup(at); });
    layout->addWidget(ListView1_, 1);

    auto* commands = new QHBoxLayout;
    using Command = void (*)(Form1Model&);
    const std::array<Command, 5> runs{[](Form1Model& m) { m.addPath(); }, [](Form1Model& m) { m.removeSelected(); },
                                      [](Form1Model& m) { m.clearList(); }, [](Form1Model& m) { m.openDriveWindow(); },
                                      [](Form1Model& m) { m.refreshDrives(); }};
    for (std::size_t i = 0; i < kLblDP.size(); ++i) {
        auto* label = new LinkLabel(qs(kLblDP[i].caption), qs(kLblDP[i].toolTip), frame);
        label->setObjectName(QStringLiteral("lblDP%1").arg(i));
        commands->addWidget(label);
        if (const auto run = runs[i])
            connect(label, &LinkLabel::clicked, this, [this, run] { guarded("lblDP", [this, run] { run(model_); }); });
    }
    commands->addStretch();
    cmdPause_ = new QPushButton(frame);
    cmdPause_->setObjectName(QStringLiteral("cmdPause"));
    commands->addWidget(cmdPause_);
    connect(cmdPause_, &QPushButton::clicked, this, [this] { guarded("cmdPause", [&] { cmdPause_Click(model_.app()); }); });
    layout->addLayout(commands);
    return frame;
}

QWidget* Form1::buildPages()
{
    auto* area = new QWidget(this);
    auto* grid = new QHBoxLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    lblTab_.resize(kTabs.size());
    for (const int index : kTabColumnOrder) {
        const auto& tab = kTabs[static_cast<std::size_t>(index)];
        auto* label = new LinkLabel(QString::fromLatin1(tab.caption), QString::fromLatin1(tab.toolTip), area);
        label->setObjectName(QStringLiteral("lblTab%1").arg(index));
        label->setPressColors(Qt::white, kSilver);
        label->setMargin(4);
        QFont plain = label->font();
        plain.setUnderline(false);
        label->setFont(plain);
        label->setMinimumWidth(toPixels(1335));
        column->addWidget(label);
        lblTab_[static_cast<std::size_t>(index)] = label;
        connect(label, &LinkLabel::clicked, this, [this, index] { lblTab_Click(index); });
    }
    column->addStretch();
    grid->addLayout(column);

    auto* right = new QVBoxLayout;
    frmSp_ = new QStackedWidget(area);
    frmSp_->setObjectName(QStringLiteral("frmSp"));
    specifiedPage_ = new SpecifiedOptionsPage(model_, frmSp_);
    frmSp_->addWidget(specifiedPage_);
    frmSp_->addWidget(new OptionsPage(model_, frmSp_));
    frmSp_->addWidget(new ConfigPage(model_, frmSp_));
    frmSp_->addWidget(new AlertsLogPage(model_, frmSp_));
    frmSp_->addWidget(new OverviewPage(model_, frmSp_));
    right->addWidget(frmSp_, 1);
    lblTabCap_ = new QLabel(area);
    lblTabCap_->setObjectName(QStringLiteral("lblTabCap"));
    right->addWidget(lblTabCap_, 0, Qt::AlignRight);
    grid->addLayout(right, 1);
    return area;
}

void Form1::buildStatusBar()
{
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    auto* panel1 = new QWidget(bar);
    auto* layout = new QHBoxLayout(panel1);
    layout->setContentsMargins(2, 0, 2, 0);
    panel1Picture_ = new QLabel(panel1);
    panel1Picture_->setObjectName(QStringLiteral("StatusBar1Picture1"));
    layout->addWidget(panel1Picture_);
    for (std::size_t i = 0; i < StatusBar1_.size(); ++i) {
        StatusBar1_[i] = new QLabel(bar);
        StatusBar1_[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
    }
    layout->addWidget(StatusBar1_[0], 1);
    bar->addWidget(panel1, 3);
    bar->addWidget(StatusBar1_[1], 2);
    bar->addWidget(StatusBar1_[2], 1);
}

void Form1::Form_Load()
{
    show();
    guarded("Form_Load", [&] { model_.Form_Load(); });
}

void Form1::lblTab_Click(int index)
{
    const auto& tab = kTabs.at(static_cast<std::size_t>(index));
    const auto background = palette().color(QPalette::Base);
    for (auto* label : lblTab_) {
        label->setTextColor(kSilver);
        label->setBackgroundColor(kDarkBlue);
    }
    frmSp_->setCurrentIndex(tab.page);
    lblTabCap_->setText(QString::fromLatin1(tab.toolTip));
    auto* chosen = lblTab_[static_cast<std::size_t>(index)];
    chosen->setBackgroundColor(background);
    chosen->setTextColor(palette().color(QPalette::ButtonText));
    model_.app().form1.overviewVisible = tab.page == kOverviewPage;
}

int Form1::currentPage() const { return frmSp_->currentIndex(); }

void Form1::refresh()
{
    const auto& form = model_.app().form1;
    setWindowTitle(qs(form.caption));
    toolbarButton1_->setText(qs(form.toolbarButton1Caption));
    toolbarButton1_->setIcon(imageListIcon(*style(), form.toolbarButton1Image));
    cmdPause_->setText(qs(form.cmdPause));
    for (std::size_t i = 0; i < StatusBar1_.size(); ++i)
        StatusBar1_[i]->setText(qs(form.StatusBar1[i].text));
    const auto picture = imageListIcon(*style(), form.StatusBar1[0].picture);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    panel1Picture_->setPixmap(picture.isNull() ? QPixmap() : picture.pixmap(side, side));
    applyWindowOptions();
    if (form.visible != isVisible() && !unloaded_)
        setVisible(form.visible);
    menus_->refresh();
}

void Form1::applyWindowOptions()
{
    const auto& form = model_.app().form1;
    setWindowOpacity(form.windowOpacity / 255.0);
    const bool onTop = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (onTop != form.mnuStayOnTopChecked) {
        // Changing the flag re-creates the native window, which hides it; position and size stay.
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, form.mnuStayOnTopChecked);
        if (shown)
            show();
    }
}

void Form1::toggleView()
{
    if (isMaximized() || isMinimized() || isFullScreen())
        showNormal();
    const auto toggle = volmara::toggleView(toTwips(height()), compactTwips(), fullHeight_);
    view_ = toggle.view;
    if (view_ == MainView::Compact)
        compactHeight_ = toggle.height;
    for (const char* frame : {"Frame5", "Frame1"})
        if (auto* widget = findChild<QWidget*>(QString::fromLatin1(frame)))
            widget->setVisible(toggle.framesShown);
    showPages(toggle.view == MainView::Full);
    applySize(WindowSize{toTwips(width()), toggle.height});
    emit viewChanged();
}

bool Form1::fullView() const { return toTwips(height()) >= fullHeight_ || samePixel(toTwips(height()), fullHeight_); }

QString Form1::viewCaption() const { return qs(volmara::viewCaption(view_)); }

int Form1::compactTwips() const
{
    return compactHeight(toTwips(Toolbar1_->height()), toTwips(Frame8_->height()));
}

void Form1::showPages(bool shown)
{
    Label8_->setVisible(shown);
    pages_->setVisible(shown);
    // The window may only shrink once the layouts forgot the pages' least height: hiding only
    // posts that recalculation, so it is made here, before the window is resized.
    for (auto* l : {centralWidget()->layout(), layout()}) {
        l->invalidate();
        l->activate();
    }
}

void Form1::applySize(WindowSize size)
{
    const bool applying = applyingLayout_;
    applyingLayout_ = true;
    resize(toPixels(size.width), toPixels(size.height));
    applyingLayout_ = applying;
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (applyingLayout_ || isMaximized() || isMinimized() || isFullScreen())
        return;
    // A compact window the user pulls taller shows the pages again; the two frames stay hidden
    // until the view is toggled back.
    if (pages_->isHidden() && height() > toPixels(std::max(kMinHeight, compactHeight_)) + 8) {
        showPages(true);
        return;
    }
    const WindowSize asked{toTwips(width()), toTwips(height())};
    const auto wanted = layoutSize(asked, compactTwips());
    if (wanted.height != asked.height) {
        compactHeight_ = wanted.height;
        showPages(false);
        applySize(WindowSize{asked.width, wanted.height});
    }
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    model_.app().form1.visible = true;
}

void Form1::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    model_.app().form1.visible = false;
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing cannot be refused: the unload handling runs once and the program ends.
    if (!unloaded_) {
        unloaded_ = true;
        guarded("Form_Unload", [&] { model_.Form_Unload(); });
        emit unloaded();
    }
    event->accept();
}

} // namespace volmara
