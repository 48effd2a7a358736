#pragma once

#include "core/observer.h"
#include "core/task.h"
#include "platform/event_loop.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace volmara {

class AppState;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The action row `lblAct` and the commands `lblAl`, by index.
inline constexpr std::array<std::string_view, 5> kLblAct{"Move File(s)", "Del. File(s)", "Emp. Recyc", "Compress F",
                                                         "Olvesta"};
inline constexpr std::array<std::string_view, 5> kLblAl{"OK", "Clear", "Explorer", "Wizard", "Action"};
enum class AlertOption { MoveFiles = 0, DeleteFiles, EmptyRecycle, Compress, Olvesta };
enum class AlertCommand { Ok = 0, Clear, Explorer, Wizard, Action };

// Heights in twips: as the menus show the dialog, and enlarged to reveal the action row.
inline constexpr int kAlertCompactHeight = 4200;
inline constexpr int kAlertFullHeight = 8200;

inline constexpr std::string_view kCaptionLoaded = "Alert";
inline constexpr std::string_view kCaptionStill = "Alert Dialog";
inline constexpr std::string_view kCaptionCounting = "Auto Dismiss Alert Window in (sec.): ";

struct ActionLook {
    Rgb text;
    Rgb background;
    bool border = false;
};

struct CommandLook {
    Rgb text;
    Rgb background;
};

// `dlgAlert`: the accumulated alert messages, the countdown that dismisses the dialog, and the
// actions it suggests. Loaded on first use by a producer; shown and hidden, never unloaded.
class AlertDialog : public Observable {
public:
    explicit AlertDialog(AppState& app);
    AlertDialog(const AlertDialog&) = delete;
    AlertDialog& operator=(const AlertDialog&) = delete;

    // --- what the producers use ---
    // The text already holds `message`: the producer adds nothing.
    bool containsText(std::string_view message) const;
    // Puts a message in front of the text (newest first).
    void prepend(std::string_view message);
    // Shows the dialog without waiting for it.
    void show();
    // The menus' "Show Alert Dialog": 4200 twips high, then shown.
    void showCompact();

    // --- what the window shows ---
    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }
    const std::string& caption() const { return caption_; }
    const std::string& Label1() const { return Label1_; }
    bool Label1Visible() const { return chkLog_; }
    const std::string& lblSuggest() const { return lblSuggest_; }
    // The tag of the "Wizard" command: "move", "delete", "recycle", "compress" or empty.
    const std::string& chosenAction() const { return chosenAction_; }
    const std::array<ActionLook, 5>& lblAct() const { return lblAct_; }
    // Empty until the command is first pressed: the link look.
    const std::array<std::optional<CommandLook>, 5>& lblAl() const { return lblAl_; }
    bool chkLog() const { return chkLog_; }
    bool chkAutoHide() const { return chkAutoHide_; }
    int heightTwips() const { return heightTwips_; }
    std::int16_t g_intSec() const { return g_intSec_; }
    const Timer& Timer1() const { return Timer1_; }

    // --- the user ---
    void lblAct_Click(int index);
    void lblAl_MouseDown(int index);
    void lblAl_MouseUp(int index);
    void lblAl_Click(int index);
    void chkLog_Click(bool checked);
    void chkAutoHide_Click(bool checked);
    // "OK", and the window's own close button.
    void hide();

    // The countdown, bound to `Timer1`.
    void Timer1_Timer();

    // Where the dialog hands work to the rest of the program; unbound seams do nothing.
    // The chosen files, "folder;name;name": put into `cboFile` and added to the specified files.
    std::function<void(const std::string& files)> addSpecifiedFiles;
    // Olvesta, after clen.dat is written.
    std::function<void()> startCompanion;
    // "Emp. Recyc" on "Wizard": the trash is emptied as the menu command does.
    std::function<void()> emptyTrash;
    // "Compress F" on "Wizard": the desktop's archive manager.
    std::function<void()> openArchiveManager;

private:
    void load();
    void markAction(std::size_t index);
    void runWizard();
    Task<void> chooseFiles();
    void runOlvesta();
    void saveLog();

    AppState& app_;
    bool loaded_ = false;
    bool visible_ = false;
    bool choosing_ = false;
    std::string caption_{kCaptionLoaded};
    std::string Label1_;
    std::string lblSuggest_;
    std::string chosenAction_;
    std::array<ActionLook, 5> lblAct_;
    std::array<std::optional<CommandLook>, 5> lblAl_;
    bool chkLog_ = true;
    bool chkAutoHide_ = true;
    int heightTwips_ = kAlertCompactHeight;
    std::int16_t g_intSec_ = 0;
    Timer Timer1_;
};

} // namespace volmara
