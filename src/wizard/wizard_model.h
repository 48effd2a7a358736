#pragma once

#include "core/date_time.h"
#include "core/observer.h"
#include "core/settings.h"
#include "core/task.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

inline constexpr std::string_view kFrmWizardCaption = "Volmara Wizard/Pref.";
inline constexpr int kWizardPageCount = 7;

inline constexpr std::array<std::string_view, 3> kChkopCaptions{
    "Business (Office, Doc., Database....)",
    "Media (music, movie clips, pictures...)",
    "Internet (html, swf, xml...)",
};
// KB a ticked file kind adds to the minimum space.
inline constexpr std::array<long long, 3> kChkopAmounts{300000, 200000, 100000};
inline constexpr std::array<std::string_view, 2> kWizardOpDrivCaptions{"Amount", "Percentage"};
inline constexpr std::array<std::string_view, 3> kConnectionCaptions{"Dial-Up", "DSL/Cable", "Ethernet/LAN"};
// Minutes of the check interval a connection speed suggests.
inline constexpr std::array<int, 3> kConnectionMinutes{45, 15, 5};

inline constexpr std::array<std::string_view, 9> kWizardActCaptions{
    "Alert on Space Shortage",
    "Move Sp. Files to Sp. Path",
    "Delete Specified Files",
    "Move Specified Files to RecycleBin",
    "Auto Move Files to Largest Avail. Path-Space",
    "Enable Audio Alert(s)",
    "Alert on Space Stagnancy",
    "Empty Recycle Bin",
    "Alert on file/folder creation/change(s)",
};
enum WizardActIndex { kWizStagnancy = 6, kWizEmptyRecycle = 7, kWizFolderChange = 8 };

inline constexpr std::string_view kOnlyNumbers = "Only numbers should be entered.";
inline constexpr std::string_view kChooseFileTitle = "Choose File/Folder ";

// `cboFile` and `cboProg` of the wizard: a text box over a list of paths.
struct WizardPathList {
    std::string text;
    std::vector<std::string> items;
    std::optional<std::size_t> selected;
};
enum class WizardList { Files, Programs };

// The wizard's own copies of the settings it asks about; nothing reaches the main window
// before Apply.
struct WizardAnswers {
    std::array<bool, 3> chkop{};
    std::optional<int> OpDriv; // 0 "Amount", 1 "Percentage"; none chosen at first
    std::string txtFreeSpace = "50000";
    std::optional<int> Option1;
    CheckValue chkCustTime = 0;
    std::array<DateTime, 2> DTTime1{};
    DateTime DTPicker1 = DateTime::timeOfDay(0, 0, 0);
    WizardPathList cboFile;
    WizardPathList cboProg;
    std::array<bool, 9> lstAct{};
    std::string txtFileType = "tmp chk";
    std::string txtDrive;
};

// The main window's own reactions that Apply runs, as if the user had changed its controls.
struct MainWindowReactions {
    std::function<void(int option)> setTriggerUnit;
    std::function<void(const std::string& text)> txtSpaceChanged;
};

// "Volmara Wizard/Pref.": seven pages of questions whose answers are copied into the main window
// on Apply. The window shows this model and forwards its clicks here.
class WizardModel : public Observable {
public:
    explicit WizardModel(AppState& app);
    WizardModel(const WizardModel&) = delete;
    WizardModel& operator=(const WizardModel&) = delete;

    // Shows the window; the first time, its answers are loaded.
    void show();
    // The first run's opening over the main window.
    void openAtFirstRun();
    bool visible() const { return visible_; }

    int page() const { return page_; }
    std::string lblOp() const;
    bool backEnabled() const { return page_ > 0; }
    bool nextEnabled() const { return page_ < kWizardPageCount - 1; }
    bool applyEnabled() const { return applyEnabled_; }

    void cmdProgress_Click(); // "&Next >"
    void cmdReverse_Click();  // "< &Back"
    void pagePressed();       // a mouse press on a page enables "&Apply"

    void chkop_Click(int index, bool ticked);
    void OpDriv_Click(int option);
    void Option1_Click(int option);
    // The box's text after an edit: anything but digits is refused.
    void txtFreeSpaceEdited(const std::string& text);
    void setCustomTime(bool on);
    void setCustomTimes(const DateTime& start, const DateTime& end);
    void setInterval(int hours, int minutes, int seconds);
    void setResponseTicked(int index, bool ticked);
    void setFileTypes(std::string text);
    void setMovePath(std::string text);

    WizardPathList& list(WizardList which);
    void setListText(WizardList which, std::string text);
    void selectItem(WizardList which, std::optional<std::size_t> index);
    void addToList(WizardList which);    // "Add"
    void browseForList(WizardList which); // "..."
    void removeFromList(WizardList which); // "Remove"
    void openExplorer();                  // "Open Explorer"

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click(); // "&Close"
    void cmdHelp_Click();

    const WizardAnswers& answers() const { return answers_; }

    // Bound by the lead: the program's help.
    std::function<void()> openHelp;
    // Bound by the window system: makes and shows the window over the main window.
    std::function<void()> openWindow;
    // Bound by the main window's model.
    MainWindowReactions mainWindow;

private:
    Task<void> addTask(WizardList which);
    Task<void> browseTask(WizardList which);
    Task<void> exploreTask();
    void load();
    void applyResponses();

    AppState& app_;
    WizardAnswers answers_;
    int page_ = 0;
    bool applyEnabled_ = false;
    bool loaded_ = false;
    bool visible_ = false;
};

} // namespace volmara
