#include "shell/frm_lock.h"

#include "core/app_state.h"
#include "core/pause_control.h"

namespace volmara {

std::size_t characterCount(std::string_view text)
{
    std::size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

FrmLock::FrmLock(AppState& app) : app_(app) {}

void FrmLock::Form_Load()
{
    loaded_ = true;
    Text1_.clear();
    setState();
}

void FrmLock::setState()
{
    Command1_ = g_bolLocked ? "Unlock" : "Lock";
    lblLock_ = std::string(g_bolLocked ? kLblLockLocked : kLblLockUnlocked);
}

void FrmLock::setVisible(bool on)
{
    if (on && windowNeeded)
        windowNeeded();
    visible_ = on;
    notify();
}

void FrmLock::prcSrvFrm()
{
    if (!loaded_)
        Form_Load();
    Text1_.clear();
    setState();
    setVisible(true);
}

void FrmLock::Text1_Change(std::string text) { Text1_ = std::move(text); }

void FrmLock::Text1_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        Command1_Click();
}

void FrmLock::Form_Unload() { setVisible(false); }

void FrmLock::Command1_Click()
{
    // One answer at a time: a second click while the question is open does nothing.
    if (busy_)
        return;
    app_.tasks.spawn(lockButton());
}

Task<void> FrmLock::lockButton()
{
    busy_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{busy_};

    auto& dialogs = app_.sv.dialogs;
    if (Text1_.empty()) {
        co_await dialogs.ask("A password must be entered.", MsgIcon::None);
        co_return;
    }
    if (Command1_ == "Lock") {
        auto& tray = app_.sysWorkSystray;
        // Locked without an icon there would be no way back to the program.
        if (!tray.systemTrayAvailable || !tray.systemTrayAvailable()) {
            co_await dialogs.ask(kNoTrayToLock.data(), MsgIcon::Exclamation);
            co_return;
        }
        timerHold(app_);
        const auto answer =
            co_await dialogs.ask("Are you sure you want to lock the program?", MsgIcon::Critical, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes) {
            timerHold(app_);
            co_return;
        }
        if (characterCount(Text1_) > kMaxLockPassword) {
            co_await dialogs.ask("Passowrd Length cannot be over 25", MsgIcon::None);
            co_return;
        }
        if (!tray.iconPresent())
            tray.prcAddSystray(1, "");
        if (!tray.iconPresent()) {
            co_await dialogs.ask(kNoTrayToLock.data(), MsgIcon::Exclamation);
            co_return;
        }
        g_bolLocked = true;
        g_strLockPassword = Text1_;
        setVisible(false);
        app_.form1.visible = false;
        app_.form1.notify();
        for (const auto& hide : hideOnLock)
            if (hide)
                hide();
        app_.inform("The program is now lock into the systray.", MsgIcon::Information);
        co_return;
    }
    if (Text1_ != g_strLockPassword) {
        co_await dialogs.ask("Incorrect Password.", MsgIcon::None);
        co_return;
    }
    app_.form1.visible = true;
    app_.form1.notify();
    setVisible(false);
    g_bolLocked = false;
}

} // namespace volmara
