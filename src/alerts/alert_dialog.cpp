#include "alerts/alert_dialog.h"

#include "core/app_state.h"

#include <algorithm>
#include <exception>

namespace volmara {

namespace {

constexpr Rgb kDarkBlue{0, 0, 64};
constexpr Rgb kLightGrey{224, 224, 224};
constexpr Rgb kLightGreen{128, 255, 128};
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

constexpr ActionLook kActionPlain{kWhite, kDarkBlue, false};
constexpr ActionLook kActionMarked{kDarkBlue, kLightGrey, true};

struct OptionText {
    std::string_view suggestion;
    std::string_view tag;
};
constexpr std::array<OptionText, 4> kOptionTexts{{
    {"You can select files to be moved to another path to free up space.", "move"},
    {"You can select files to be deleted to free up space.", "delete"},
    {"You can select to attempt to clear any files in the recycle bin.", "recycle"},
    {"You can open the default compression program to try to save space.", "compress"},
}};

constexpr std::string_view kFilesListed = "The files are now listed in the Spec. file(s)\r\n"
                                          "If you change your mind, you can go select the file and hit remove";

bool validIndex(int index) { return index >= 0 && index < 5; }

} // namespace

AlertDialog::AlertDialog(AppState& app) : app_(app), Timer1_(app.sv.loop, 9000)
{
    lblAct_.fill(kActionPlain);
    Timer1_.onTick([this] { Timer1_Timer(); });
}

void AlertDialog::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    caption_ = kCaptionLoaded;
    g_intSec_ = 0;
    Timer1_.setInterval(9000);
    Timer1_.setEnabled(true);
}

bool AlertDialog::containsText(std::string_view message) const { return Label1_.find(message) != std::string::npos; }

void AlertDialog::prepend(std::string_view message)
{
    load();
    Label1_.insert(0, message);
    notify();
}

void AlertDialog::show()
{
    load();
    visible_ = true;
    notify();
}

void AlertDialog::showCompact()
{
    load();
    heightTwips_ = kAlertCompactHeight;
    show();
}

void AlertDialog::hide()
{
    visible_ = false;
    notify();
}

// --- the countdown ------------------------------------------------------------------------------

void AlertDialog::Timer1_Timer()
{
    if (!visible_) {
        Timer1_.setEnabled(true);
        g_intSec_ = 10;
        return;
    }
    if (chkAutoHide_ && g_intSec_ > 0) {
        Timer1_.setInterval(1000);
        caption_ = std::string(kCaptionCounting) + std::to_string(g_intSec_);
        --g_intSec_;
        notify();
        return;
    }
    if (chkAutoHide_) {
        Timer1_.setEnabled(false);
        visible_ = false;
        g_intSec_ = 10;
        saveLog();
        caption_ = kCaptionStill;
        Timer1_.setEnabled(true);
        notify();
        return;
    }
    g_intSec_ = 10;
}

void AlertDialog::saveLog()
{
    // A log that cannot be written must not stop the dialog from counting down next time.
    std::string failure;
    try {
        app_.log.prcSaveLog();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (failure.empty())
        return;
    try {
        app_.log.prcAlertInfo(app_.displayTime(), "High", "Error: " + failure, 0, nullptr);
    } catch (const std::exception&) {
    }
}

void AlertDialog::chkAutoHide_Click(bool checked)
{
    chkAutoHide_ = checked;
    if (checked) {
        Timer1_.setEnabled(true);
    } else {
        Timer1_.setEnabled(false);
        caption_ = kCaptionStill;
    }
    notify();
}

void AlertDialog::chkLog_Click(bool checked)
{
    chkLog_ = checked;
    notify();
}

// --- the action row -----------------------------------------------------------------------------

void AlertDialog::markAction(std::size_t index)
{
    lblAct_.fill(kActionPlain);
    lblAct_[index] = kActionMarked;
}

void AlertDialog::lblAct_Click(int index)
{
    if (!validIndex(index))
        return;
    const auto i = static_cast<std::size_t>(index);
    markAction(i);
    if (index == static_cast<int>(AlertOption::Olvesta)) {
        notify();
        runOlvesta();
        return;
    }
    lblSuggest_ = kOptionTexts[i].suggestion;
    chosenAction_ = kOptionTexts[i].tag;
    notify();
}

void AlertDialog::runOlvesta()
{
    // The companion reads the drive to clean from clen.dat: the first entry in alert, else the
    // default root.
    std::string path = app_.sv.paths.defaultRoot();
    for (const auto& entry : app_.ListView1.rows()) {
        if (entry.icon == StatusIcon::Alert) {
            path = entry.path;
            break;
        }
    }
    try {
        app_.sv.files.replaceFile(app_.sv.programFolder + "/clen.dat", path + "\r\n", Files::Privacy::Normal);
    } catch (const std::exception& e) {
        app_.inform(std::string("The command could not be completed: ") + e.what(), MsgIcon::Critical);
        return;
    }
    if (startCompanion)
        startCompanion();
}

// --- the commands -------------------------------------------------------------------------------

void AlertDialog::lblAl_MouseDown(int index)
{
    if (!validIndex(index))
        return;
    lblAl_[static_cast<std::size_t>(index)] = CommandLook{kLightGrey, kLightGreen};
    notify();
}

void AlertDialog::lblAl_MouseUp(int index)
{
    if (!validIndex(index))
        return;
    lblAl_[static_cast<std::size_t>(index)] = CommandLook{kOrange, kBlack};
    notify();
}

void AlertDialog::lblAl_Click(int index)
{
    switch (static_cast<AlertCommand>(index)) {
    case AlertCommand::Ok:
        hide();
        break;
    case AlertCommand::Clear:
        Label1_.clear();
        notify();
        break;
    case AlertCommand::Explorer:
        Label1_ = " . ";
        notify();
        break;
    case AlertCommand::Wizard:
        runWizard();
        break;
    case AlertCommand::Action:
        if (heightTwips_ < kAlertFullHeight) {
            heightTwips_ = kAlertFullHeight;
            notify();
        }
        break;
    }
}

void AlertDialog::runWizard()
{
    if (chosenAction_ == "move" || chosenAction_ == "delete") {
        // One chooser at a time, as a modal one would allow.
        if (!choosing_)
            app_.tasks.spawn(chooseFiles());
    } else if (chosenAction_ == "recycle") {
        if (emptyTrash)
            emptyTrash();
    } else if (chosenAction_ == "compress") {
        if (openArchiveManager)
            openArchiveManager();
    }
}

Task<void> AlertDialog::chooseFiles()
{
    struct Choosing {
        bool& flag;
        explicit Choosing(bool& f) : flag(f) { flag = true; }
        ~Choosing() { flag = false; }
    } choosing(choosing_);

    auto choosingFiles = app_.sv.dialogs.browseFiles(FilesRequest{"Choose File/Folder ", "*.*", ""});
    const auto chosen = co_await choosingFiles;
    if (chosen && !chosen->empty()) {
        std::string files = *chosen;
        std::replace(files.begin(), files.end(), '\0', ';');
        if (addSpecifiedFiles)
            addSpecifiedFiles(files);
        co_await app_.sv.dialogs.ask(std::string(kFilesListed), MsgIcon::Information);
    } else {
        co_await app_.sv.dialogs.ask("No file(s) were selected.", MsgIcon::Information);
    }
    // The automatic file responses would act on the files the user just chose by hand.
    for (const int item : {kActMove, kActDelete, kActRecycle, kActAutoMove})
        app_.lstAct[static_cast<std::size_t>(item)] = false;
    app_.form1.notify();
}

} // namespace volmara
