#include "shell/sys_work_systray.h"

#include "core/app_state.h"

namespace volmara {

std::string trayTipField(std::string_view tip)
{
    // Counted in characters, not bytes: the desktop shows the tip as UTF-8 text.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < tip.size(); ++i) {
        if ((static_cast<unsigned char>(tip[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == kTrayTipShown)
            return std::string(tip.substr(0, i));
    }
    return std::string(tip);
}

SysWorkSystray::SysWorkSystray(AppState& app) : tmrSystray(app.sv.loop, kBlinkMs, false), app_(app)
{
    tmrSystray.onTick([this] { tmrSystray_Timer(); });
}

void SysWorkSystray::Form_Load() { prcAddSystray(1, ""); }

void SysWorkSystray::Form_Unload() { prcAddSystray(0, ""); }

bool SysWorkSystray::shell(Command command, TrayPicture picture, std::string tip)
{
    bool ok = false;
    switch (command) {
    case Command::Add:
        // Adding an icon that is there fails and changes nothing; so does a desktop without a tray.
        ok = !iconPresent_ && systemTrayAvailable && systemTrayAvailable();
        if (ok) {
            iconPresent_ = true;
            uID_ = 1;
        }
        break;
    case Command::Modify:
        ok = iconPresent_;
        break;
    case Command::Delete:
        ok = iconPresent_;
        iconPresent_ = false;
        break;
    }
    if (ok && command != Command::Delete) {
        picture_ = picture;
        tip_ = trayTipField(tip);
    }
    lastResult_ = ok;
    notify();
    return ok;
}

void SysWorkSystray::prcAddSystray(std::int16_t intM, std::string tip)
{
    if (tip.empty())
        tip = "Volmara";
    tip += " " + app_.now("mm/dd HH:mm");
    switch (intM) {
    case 0: shell(Command::Delete, TrayPicture::Normal, tip); break;
    case 1: shell(Command::Add, TrayPicture::Normal, tip); break;
    case 2:
        shell(Command::Add, TrayPicture::Normal, tip);
        shell(Command::Modify, TrayPicture::Normal, tip);
        break;
    default: break;
    }
}

void SysWorkSystray::modifyIcon(TrayPicture picture, std::string tip) { shell(Command::Modify, picture, std::move(tip)); }

void SysWorkSystray::tmrSystray_Timer()
{
    g_bolMsgIcon = true;
    if (blinkPhase_) {
        modifyIcon(TrayPicture::Normal, std::string(kTrayTipBlinkNormal));
        blinkPhase_ = false;
    } else {
        modifyIcon(TrayPicture::Alert, std::string(kTrayTipBlinkAlert));
        blinkPhase_ = true;
    }
}

void SysWorkSystray::showMainWindow(bool visible)
{
    app_.form1.visible = visible;
    app_.form1.notify();
}

void SysWorkSystray::mouseMessage(int message)
{
    if (message == kWmRButtonUp) {
        if (popUpMenu)
            popUpMenu();
        return;
    }
    if (message != kWmLButtonDblClk)
        return;
    if (app_.frmLock.g_bolLocked) {
        app_.frmLock.prcSrvFrm();
        return;
    }
    if (g_bolMsgIcon) {
        stopBlinking();
        g_bolMsgIcon = false;
        modifyIcon(TrayPicture::Normal, std::string(kTrayTipBlinkNormal));
        showMainWindow(true);
    } else {
        showMainWindow(!app_.form1.visible);
    }
    if (bringToFront)
        bringToFront();
}

} // namespace volmara
