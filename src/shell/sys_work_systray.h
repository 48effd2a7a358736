#pragma once

#include "core/observer.h"
#include "platform/event_loop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

// The pictures the icon can show: the program's own, the "alert" image of `ImageList1`, and
// the one the pause toggle leaves while the watch is paused.
enum class TrayPicture { Normal, Alert, Paused };

inline constexpr std::string_view kTrayTipBlinkNormal = "Zembrik Volmara";
inline constexpr std::string_view kTrayTipBlinkAlert = "New Alert Message!";
// The shell keeps 64 characters of a tip, the last one its terminator.
inline constexpr std::size_t kTrayTipShown = 63;

// The mouse messages the icon reports.
inline constexpr int kWmLButtonDblClk = 515;
inline constexpr int kWmRButtonUp = 517;

// The model of `sysWorkSystray`, the hidden window that owns the one tray icon: it decides what
// the icon shows; the window system's tray only shows it.
class SysWorkSystray : public Observable {
public:
    static constexpr int kBlinkMs = 1000;

    explicit SysWorkSystray(AppState& app);
    SysWorkSystray(const SysWorkSystray&) = delete;
    SysWorkSystray& operator=(const SysWorkSystray&) = delete;

    // The window's load at start-up: the icon goes in with the program's title as its tip.
    void Form_Load();
    // Shut-down: the icon goes.
    void Form_Unload();

    // 0 removes the icon, 1 adds it, 2 adds it and then changes it; the tip gets the date and time.
    void prcAddSystray(std::int16_t intM, std::string tip);
    // Changes picture and tip of an icon that is there, the tip as it stands.
    void modifyIcon(TrayPicture picture, std::string tip);

    // The alert record starts the blinking; the watch cycle stops it.
    void startBlinking() { tmrSystray.setEnabled(true); }
    void stopBlinking() { tmrSystray.setEnabled(false); }
    void tmrSystray_Timer();

    // A mouse message from the icon (515 double click, 517 right button up); others are ignored.
    void mouseMessage(int message);

    bool iconPresent() const { return iconPresent_; }
    const std::string& tip() const { return tip_; }
    TrayPicture picture() const { return picture_; }
    bool blinkPhase() const { return blinkPhase_; }
    // The identifier the shell accepted at the last add (always 1), and the last call's result.
    int uID() const { return uID_; }
    bool lastResult() const { return lastResult_; }

    bool g_bolMsgIcon = false;
    Timer tmrSystray;

    // Whether the desktop offers a tray at all; none means every add fails.
    std::function<bool()> systemTrayAvailable;
    // 517: the main window pops up its tray menu `mnuPopUp` at the mouse position.
    std::function<void()> popUpMenu;
    // Brings the program to the foreground after the icon showed or hid the main window.
    std::function<void()> bringToFront;

private:
    enum class Command { Add, Modify, Delete };
    bool shell(Command command, TrayPicture picture, std::string tip);
    void showMainWindow(bool visible);

    AppState& app_;
    bool iconPresent_ = false;
    std::string tip_;
    TrayPicture picture_ = TrayPicture::Normal;
    bool blinkPhase_ = false;
    int uID_ = 0;
    bool lastResult_ = false;
};

// The record's tip: 63 characters at most.
std::string trayTipField(std::string_view tip);

} // namespace volmara
