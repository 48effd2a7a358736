#pragma once

#include "core/observer.h"
#include "core/task.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

inline constexpr std::string_view kFrmLockCaption = "Program Lock";
inline constexpr std::string_view kLockPrompt = "Password Entry to (Un) Lock program:";
inline constexpr std::string_view kLblLockLocked = "The program is Locked.  Enter password to unlock.";
inline constexpr std::string_view kLblLockUnlocked =
    "The program is Not Lock.  Set a password and press Lock to Lock the program";
inline constexpr std::string_view kNoTrayToLock =
    "There is no system tray on this desktop to unlock the program from, so it cannot be locked.";
inline constexpr std::size_t kMaxLockPassword = 25;

// The model of `frmLock`, the program lock: the lock state, the password and the window's
// controls. The window is made the first time the model is shown.
class FrmLock : public Observable {
public:
    explicit FrmLock(AppState& app);
    FrmLock(const FrmLock&) = delete;
    FrmLock& operator=(const FrmLock&) = delete;

    // Prepares and shows the window (not modal): empty box, the button and state line of the state.
    void prcSrvFrm();
    // The user's controls.
    void Text1_Change(std::string text);
    // Enter in the password box is the button.
    void Text1_KeyPress(int KeyAscii);
    void Command1_Click();
    // The window is closed: it hides; the model stays.
    void Form_Unload();

    bool visible() const { return visible_; }
    // A click is being answered (a question or a refusal is open); further clicks do nothing.
    bool busy() const { return busy_; }
    const std::string& Text1() const { return Text1_; }
    const std::string& Command1() const { return Command1_; }
    const std::string& lblLock() const { return lblLock_; }

    // In memory only: unlocked at every start, and the password ends with the program.
    bool g_bolLocked = false;
    std::string g_strLockPassword;

    // The window system makes the window here the first time the model is shown.
    std::function<void()> windowNeeded;
    // Windows of other parts that locking hides too (the notification window, the alert
    // dialog); the main window binds them.
    std::vector<std::function<void()>> hideOnLock;

private:
    void Form_Load();
    void setState();
    void setVisible(bool on);
    Task<void> lockButton();

    AppState& app_;
    bool loaded_ = false;
    bool visible_ = false;
    bool busy_ = false;
    std::string Text1_;
    std::string Command1_ = "Lock";
    std::string lblLock_{kLblLockUnlocked};
};

// Characters of a UTF-8 text.
std::size_t characterCount(std::string_view text);

} // namespace volmara
