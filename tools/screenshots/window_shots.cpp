#include "tools/screenshots/window_shots.h"

#include "tools/screenshots/demo_machine.h"
#include "tools/screenshots/demo_program.h"
#include "ui/about/frm_about_window.h"
#include "ui/alert/dlg_alert.h"
#include "ui/drive_info/dlg_drive_info.h"
#include "ui/drive_window/frm_ind_dri.h"
#include "ui/lock/frm_lock_window.h"
#include "ui/notify/frm_notify.h"
#include "ui/pages/specified_options_page.h"
#include "ui/wizard/frm_wizard.h"

#include <QComboBox>

#include <stdexcept>
#include <string>

namespace volmara::shots {

namespace {

// The tab labels in their index order, and the "Spec." page's sub-tabs.
enum MainTab { Specified = 0, Options = 1, AlertsLog = 2, Config = 3, Overview = 4 };
enum SpecifiedTab { Programs = 0, PathSpaceTypes = 1, Files = 2 };

template <typename W>
W& windowOf(DemoProgram& demo)
{
    auto* window = demo.window().findChild<W*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        throw std::runtime_error("a window the demo opened is not there");
    return *window;
}

// A pick in one of the window's drop-down lists, as the user makes it.
void choose(QWidget& window, const char* list, int index)
{
    auto* box = window.findChild<QComboBox*>(QString::fromLatin1(list));
    if (!box)
        throw std::runtime_error(std::string("a window has no list ") + list);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QWidget& mainTab(DemoProgram& demo, MainTab tab)
{
    demo.window().lblTab_Click(tab);
    return demo.window();
}

QWidget& specifiedTab(DemoProgram& demo, SpecifiedTab tab)
{
    mainTab(demo, Specified);
    auto* page = demo.window().findChild<SpecifiedOptionsPage*>();
    if (!page)
        throw std::runtime_error("the main window has no \"Spec.\" page");
    page->lblSpectab_Click(tab);
    return demo.window();
}

// The compact view is the last main window picture: the window stays compact afterwards.
QWidget& compactView(DemoProgram& demo)
{
    mainTab(demo, Overview);
    demo.window().toggleView();
    // The window shrinks once the layout has let go of the pages.
    demo.settle();
    return demo.window();
}

QWidget& alertDialog(DemoProgram& demo)
{
    demo.app().dlgAlert.show();
    return windowOf<DlgAlert>(demo);
}

// "Action" enlarges the dialog to its action row; "Move File(s)" is chosen there.
QWidget& alertActions(DemoProgram& demo)
{
    auto& alert = demo.app().dlgAlert;
    alert.show();
    alert.lblAl_Click(4);
    alert.lblAct_Click(0);
    return windowOf<DlgAlert>(demo);
}

QWidget& notifyTab(DemoProgram& demo, NotifyTab tab)
{
    auto& window = FrmNotify::showFor(demo.app().frmNotify, demo.window());
    demo.app().frmNotify.TabStrip1_Click(tab);
    // The first recipient picked from the list shows one.
    if (tab == NotifyTab::EmailAcctInfo)
        choose(window, "cboNotEmail", 0);
    return window;
}

int cardIn(const DriveChoice& choice)
{
    for (std::size_t i = 0; i < choice.drives.size(); ++i) {
        if (choice.drives[i] == kCardRoot)
            return static_cast<int>(i);
    }
    throw std::runtime_error("the drive lists of the drive information lack the card");
}

// The pages that read one drive show the card: its boot record is the one worth reading.
QWidget& driveInfoPage(DemoProgram& demo, DriveInfoPage page)
{
    auto& model = demo.app().dlgDriveInfo;
    auto& window = DlgDriveInfo::showFor(model, demo.window());
    choose(window, "Combo1", static_cast<int>(page));
    demo.settle();
    if (page == DriveInfoPage::DrivePartitionInfo)
        choose(window, "drvDrive", cardIn(model.drvDrive()));
    if (page == DriveInfoPage::DriveAttributeInfo)
        choose(window, "cboDrives", cardIn(model.cboDrives()));
    return window;
}

// Opened for the card as a double click on its row does; the first refresh draws the pie.
QWidget& driveWindow(DemoProgram& demo)
{
    demo.window().model().openDriveWindowFor(demo.rowOf(kCardRoot));
    demo.advance(DriveWindowModel::kRefreshMs);
    return windowOf<FrmIndDri>(demo);
}

QWidget& lockWindow(DemoProgram& demo)
{
    demo.app().frmLock.prcSrvFrm();
    return windowOf<FrmLockWindow>(demo);
}

QWidget& aboutBox(DemoProgram& demo)
{
    demo.app().frmAbout.show();
    return windowOf<FrmAboutWindow>(demo);
}

// A user who keeps media and has a cable line answers the first two pages.
QWidget& wizardPage(DemoProgram& demo, int page)
{
    auto& model = demo.app().frmWizard;
    auto& window = FrmWizard::showFor(model, demo.window());
    if (page == 0) {
        model.chkop_Click(1, true);
        model.Option1_Click(1);
    }
    while (model.page() < page)
        model.cmdProgress_Click();
    return window;
}

} // namespace

std::vector<Shot> windowShots()
{
    std::vector<Shot> shots{
        {"main-specified-programs", [](DemoProgram& d) -> QWidget& { return specifiedTab(d, Programs); }},
        {"main-specified-path-space-types", [](DemoProgram& d) -> QWidget& { return specifiedTab(d, PathSpaceTypes); }},
        {"main-specified-files", [](DemoProgram& d) -> QWidget& { return specifiedTab(d, Files); }},
        {"main-options", [](DemoProgram& d) -> QWidget& { return mainTab(d, Options); }},
        {"main-alerts-log", [](DemoProgram& d) -> QWidget& { return mainTab(d, AlertsLog); }},
        {"main-config", [](DemoProgram& d) -> QWidget& { return mainTab(d, Config); }},
        {"main-overview", [](DemoProgram& d) -> QWidget& { return mainTab(d, Overview); }},
        {"main-compact", compactView},
        {"alert", alertDialog},
        {"alert-actions", alertActions},
        {"notify-content", [](DemoProgram& d) -> QWidget& { return notifyTab(d, NotifyTab::NotifyContent); }},
        {"notify-send-options", [](DemoProgram& d) -> QWidget& { return notifyTab(d, NotifyTab::SendOptions); }},
        {"notify-custom-message", [](DemoProgram& d) -> QWidget& { return notifyTab(d, NotifyTab::CustomMessage); }},
        {"notify-email-account", [](DemoProgram& d) -> QWidget& { return notifyTab(d, NotifyTab::EmailAcctInfo); }},
        {"drive-info-free-space",
         [](DemoProgram& d) -> QWidget& { return driveInfoPage(d, DriveInfoPage::FreeSpaceByDrives); }},
        {"drive-info-distribution",
         [](DemoProgram& d) -> QWidget& { return driveInfoPage(d, DriveInfoPage::TotalFreeSpaceDistribution); }},
        {"drive-info-partition",
         [](DemoProgram& d) -> QWidget& { return driveInfoPage(d, DriveInfoPage::DrivePartitionInfo); }},
        {"drive-info-attributes",
         [](DemoProgram& d) -> QWidget& { return driveInfoPage(d, DriveInfoPage::DriveAttributeInfo); }},
        {"drive-window", driveWindow},
        {"lock", lockWindow},
        {"about", aboutBox},
    };
    const char* wizardPages[] = {"space", "timing", "files", "responses", "file-types", "move-path", "programs"};
    for (int page = 0; page < 7; ++page) {
        shots.push_back({"wizard-" + std::to_string(page + 1) + "-" + wizardPages[page],
                         [page](DemoProgram& d) -> QWidget& { return wizardPage(d, page); }});
    }
    return shots;
}

} // namespace volmara::shots
