#include "wizard/wizard_model.h"

#include "alerts/file_actions.h"
#include "alerts/specified_files.h"
#include "core/app_state.h"
#include "core/pause_control.h"
#include "core/response_lists.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <set>

namespace volmara {

namespace {

// The box only ever holds digits; a number too large for 64 bits counts as no number.
std::optional<long long> wholeNumber(const std::string& text)
{
    long long value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0)
        return std::nullopt;
    return value;
}

bool onlyDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

WizardModel::WizardModel(AppState& app) : app_(app) {}

void WizardModel::load()
{
    loaded_ = true;
    page_ = 0;
    applyEnabled_ = false;
    // The custom watch time is copied back on every Apply: it starts from the main window's.
    answers_.chkCustTime = app_.settings.chkCustTime;
    answers_.DTTime1 = app_.settings.DTTime1;
    answers_.txtDrive = app_.sv.paths.defaultRoot();
}

void WizardModel::show()
{
    if (!loaded_)
        load();
    visible_ = true;
    notify();
}

void WizardModel::openAtFirstRun()
{
    if (openWindow)
        openWindow();
    else
        show();
}

std::string WizardModel::lblOp() const
{
    return "Options: " + std::to_string(page_ + 1) + "/" + std::to_string(kWizardPageCount);
}

void WizardModel::cmdProgress_Click()
{
    if (!nextEnabled())
        return;
    ++page_;
    notify();
}

void WizardModel::cmdReverse_Click()
{
    if (!backEnabled())
        return;
    --page_;
    notify();
}

void WizardModel::pagePressed()
{
    applyEnabled_ = true;
    notify();
}

void WizardModel::chkop_Click(int index, bool ticked)
{
    if (index < 0 || index >= static_cast<int>(kChkopAmounts.size()))
        return;
    answers_.chkop[static_cast<std::size_t>(index)] = ticked;
    const auto amount = kChkopAmounts[static_cast<std::size_t>(index)];
    // Unticking subtracts nothing: the sum stays as a suggestion.
    if (const auto current = wholeNumber(answers_.txtFreeSpace)) {
        if (ticked)
            answers_.txtFreeSpace = std::to_string(*current + amount);
    } else {
        answers_.txtFreeSpace = std::to_string(amount);
    }
    notify();
}

void WizardModel::OpDriv_Click(int option)
{
    answers_.OpDriv = option == 1 ? 1 : 0;
    if (option == 1) {
        if (const auto current = wholeNumber(answers_.txtFreeSpace); current && *current > 100)
            answers_.txtFreeSpace = "30";
    }
    notify();
}

void WizardModel::Option1_Click(int option)
{
    if (option < 0 || option >= static_cast<int>(kConnectionMinutes.size()))
        return;
    answers_.Option1 = option;
    answers_.DTPicker1.minute = kConnectionMinutes[static_cast<std::size_t>(option)];
    notify();
}

void WizardModel::txtFreeSpaceEdited(const std::string& text)
{
    if (onlyDigits(text)) {
        answers_.txtFreeSpace = text;
    } else {
        answers_.txtFreeSpace.clear();
        app_.inform(std::string(kOnlyNumbers), MsgIcon::Information);
    }
    notify();
}

void WizardModel::setCustomTime(bool on)
{
    answers_.chkCustTime = on ? 1 : 0;
    notify();
}

void WizardModel::setCustomTimes(const DateTime& start, const DateTime& end)
{
    answers_.DTTime1 = {start, end};
    notify();
}

void WizardModel::setInterval(int hours, int minutes, int seconds)
{
    answers_.DTPicker1.hour = std::clamp(hours, 0, 23);
    answers_.DTPicker1.minute = std::clamp(minutes, 0, 59);
    answers_.DTPicker1.second = std::clamp(seconds, 0, 59);
    notify();
}

void WizardModel::setResponseTicked(int index, bool ticked)
{
    if (index < 0 || index >= static_cast<int>(answers_.lstAct.size()))
        return;
    answers_.lstAct[static_cast<std::size_t>(index)] = ticked;
    notify();
}

void WizardModel::setFileTypes(std::string text)
{
    answers_.txtFileType = std::move(text);
    notify();
}

void WizardModel::setMovePath(std::string text)
{
    answers_.txtDrive = std::move(text);
    notify();
}

// --- the two lists ------------------------------------------------------------------------------

WizardPathList& WizardModel::list(WizardList which)
{
    return which == WizardList::Files ? answers_.cboFile : answers_.cboProg;
}

void WizardModel::setListText(WizardList which, std::string text)
{
    list(which).text = std::move(text);
    notify();
}

void WizardModel::selectItem(WizardList which, std::optional<std::size_t> index)
{
    auto& l = list(which);
    l.selected = index && *index < l.items.size() ? index : std::nullopt;
    notify();
}

void WizardModel::addToList(WizardList which) { app_.tasks.spawn(addTask(which)); }

Task<void> WizardModel::addTask(WizardList which)
{
    std::string text = list(which).text;
    if (text.empty())
        co_return;
    std::vector<std::string> paths;
    // The same split as the main window's Add: a folder, then names, each closed by ";".
    if (text.find(';') != std::string::npos) {
        text += ';';
        list(which).text = text;
        std::vector<std::string> candidates;
        scanAddList(app_.sv.paths, text, [&](const std::string& segment) {
            candidates.push_back(segment);
            return false;
        });
        std::set<std::string> folders;
        if (pathStyle(app_.sv.paths) == PathStyle::Posix) {
            for (const auto& candidate : candidates) {
                auto looking = app_.sv.io.run(ioKeyOf(app_, candidate),
                                              [&files = app_.sv.files, candidate] { return files.folderExists(candidate); });
                auto reply = co_await looking;
                if (reply.answered() && *reply.value)
                    folders.insert(candidate);
            }
        }
        paths = scanAddList(app_.sv.paths, text, [&](const std::string& s) { return folders.count(s) > 0; });
    } else {
        paths.push_back(text);
    }
    auto& items = list(which).items;
    for (auto& path : paths) {
        replaceAll(path, "\\\\", "\\");
        if (pathStyle(app_.sv.paths) == PathStyle::Posix)
            replaceAll(path, "//", "/");
        if (std::find(items.begin(), items.end(), path) == items.end())
            items.push_back(std::move(path));
    }
    notify();
}

void WizardModel::browseForList(WizardList which) { app_.tasks.spawn(browseTask(which)); }

Task<void> WizardModel::browseTask(WizardList which)
{
    auto choosing = app_.sv.dialogs.browseFiles(FilesRequest{std::string(kChooseFileTitle), "*.*", {}});
    auto chosen = co_await choosing;
    if (!chosen || chosen->empty())
        co_return;
    std::replace(chosen->begin(), chosen->end(), '\0', ';');
    list(which).text = *chosen;
    notify();
}

void WizardModel::removeFromList(WizardList which)
{
    auto& l = list(which);
    if (!l.selected || *l.selected >= l.items.size())
        return;
    l.items.erase(l.items.begin() + static_cast<std::ptrdiff_t>(*l.selected));
    l.selected.reset();
    notify();
}

void WizardModel::openExplorer() { app_.tasks.spawn(exploreTask()); }

Task<void> WizardModel::exploreTask()
{
    const std::string root = app_.sv.paths.defaultRoot();
    std::string refused;
    try {
        auto exploring = app_.sv.io.run("programs", [&shell = app_.sv.shell, root] { shell.explore(root); });
        co_await exploring;
    } catch (const std::exception& e) {
        refused = e.what();
    }
    if (!refused.empty())
        app_.inform("The folder could not be opened: " + refused, MsgIcon::Exclamation);
}

// --- Apply ----------------------------------------------------------------------------------------

void WizardModel::cmdApply_Click()
{
    auto& s = app_.settings;
    const auto& a = answers_;
    if (!a.txtDrive.empty())
        s.txtDrive = a.txtDrive;
    if (!a.txtFileType.empty())
        s.txtFileType = a.txtFileType;
    if (a.DTPicker1.hour > 0)
        s.DTPInterval.hour = a.DTPicker1.hour;
    if (a.DTPicker1.minute > 0)
        s.DTPInterval.minute = a.DTPicker1.minute;
    if (a.DTPicker1.second > 0)
        s.DTPInterval.second = a.DTPicker1.second;
    if (!a.txtFreeSpace.empty()) {
        if (mainWindow.txtSpaceChanged)
            mainWindow.txtSpaceChanged(a.txtFreeSpace);
        else
            s.txtSpace = a.txtFreeSpace;
    }
    if (a.OpDriv) {
        if (mainWindow.setTriggerUnit)
            mainWindow.setTriggerUnit(*a.OpDriv);
        else
            app_.form1.OpDriv = *a.OpDriv;
    }
    s.chkCustTime = a.chkCustTime;
    chkCustTime_Click(app_);
    s.DTTime1 = a.DTTime1;
    app_.cboFile.insert(app_.cboFile.end(), a.cboFile.items.begin(), a.cboFile.items.end());
    app_.cboProg.insert(app_.cboProg.end(), a.cboProg.items.begin(), a.cboProg.items.end());
    // The programs' box is shown with its list's rows, not with the main window's controls.
    if (!a.cboProg.items.empty())
        app_.LVProg.notify();
    applyResponses();
    app_.form1.notify();
}

void WizardModel::applyResponses()
{
    const auto& ticks = answers_.lstAct;
    const auto tickResponse = [&](int index, bool ticked) {
        for (auto& message : volmara::setResponseTicked(app_.lstAct, index, ticked, app_.ListView1))
            app_.inform(std::move(message));
    };
    for (int i = kActAlert; i <= kActSound; ++i)
        tickResponse(i, ticks[static_cast<std::size_t>(i)]);
    // The last three have other places in the main window: they go by meaning, not position.
    app_.lstEvt[kEvtStagnancy] = ticks[kWizStagnancy];
    tickResponse(kActEmptyRecycle, ticks[kWizEmptyRecycle]);
    app_.lstEvt[kEvtAmount] = ticks[kWizFolderChange];
}

void WizardModel::cmdOK_Click()
{
    cmdApply_Click();
    cmdCancel_Click();
}

void WizardModel::cmdCancel_Click()
{
    visible_ = false;
    notify();
}

void WizardModel::cmdHelp_Click()
{
    if (openHelp)
        openHelp();
}

} // namespace volmara
