#include "shell/shell_commands.h"

#include "core/app_state.h"

namespace volmara {

namespace {

bool trayAvailable(const AppState& app)
{
    const auto& tray = app.sysWorkSystray;
    return tray.systemTrayAvailable && tray.systemTrayAvailable();
}

} // namespace

void chkSystray_Click(AppState& app, CheckValue value)
{
    app.settings.chkSystray = value;
    if (value == 1) {
        if (!trayAvailable(app))
            app.inform(std::string(kNoSystemTray), MsgIcon::Information);
        app.sysWorkSystray.prcAddSystray(1, "");
    } else {
        app.form1.visible = true;
        app.sysWorkSystray.prcAddSystray(0, "");
    }
    app.form1.notify();
}

void mnuToSystray_Click(AppState& app)
{
    if (app.settings.chkSystray != 1)
        app.sysWorkSystray.prcAddSystray(1, "");
    // Hidden without an icon, the window could not be brought back.
    if (!app.sysWorkSystray.iconPresent()) {
        app.inform(std::string(kNoSystemTray), MsgIcon::Information);
        return;
    }
    app.form1.visible = false;
    app.form1.notify();
}

void chkStartUp_Click(AppState& app, CheckValue value)
{
    app.settings.chkStartUp = value;
    app.startUpEntry.apply(value == 1);
    app.form1.notify();
}

void mnuLock_Click(AppState& app) { app.frmLock.prcSrvFrm(); }

void mnuAboutVL_Click(AppState& app) { app.frmAbout.show(); }

void lblCheckUpdates_Click(AppState& app) { app.updateCheck.Label5_Click(); }

void applyLoadedShellOptions(AppState& app, CheckValue chkSystrayBefore, CheckValue chkStartUpBefore)
{
    // Setting a box runs its click handling only when its value changes.
    if (app.settings.chkSystray != chkSystrayBefore && app.settings.chkSystray != 1) {
        app.form1.visible = true;
        app.sysWorkSystray.prcAddSystray(0, "");
        app.form1.notify();
    } else if (app.settings.chkSystray != chkSystrayBefore) {
        app.sysWorkSystray.prcAddSystray(1, "");
    }
    if (app.settings.chkStartUp != chkStartUpBefore)
        app.startUpEntry.apply(app.settings.chkStartUp == 1);
}

} // namespace volmara
