#pragma once

#include "alerts/activity_log.h"
#include "alerts/alert_dialog.h"
#include "alerts/animation.h"
#include "alerts/shell_icon_list.h"
#include "alerts/specified_lists.h"
#include "core/form1_state.h"
#include "core/locale.h"
#include "core/path_rules.h"
#include "core/response_lists.h"
#include "core/settings.h"
#include "core/task.h"
#include "core/watch_list.h"
#include "driveinfo/drive_info_model.h"
#include "driveinfo/drive_window_model.h"
#include "notify/notify_model.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/io.h"
#include "platform/http.h"
#include "platform/network.h"
#include "platform/raw_volume.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system_info.h"
#include "platform/trash.h"
#include "platform/volume_info.h"
#include "platform/volumes.h"
#include "shell/frm_about.h"
#include "shell/frm_lock.h"
#include "shell/startup_entry.h"
#include "shell/sys_work_systray.h"
#include "shell/update_check.h"
#include "wizard/wizard_model.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace volmara {

// What the program is given by its platform; the app binds the real ones, tests the fakes.
struct Services {
    EventLoop& loop;
    IoWorkers& io;
    Clock& clock;
    Dialogs& dialogs;
    Volumes& volumes;
    Files& files;
    RawVolumes& rawVolumes;
    VolumeInfo& volumeInfo;
    Shell& shell;
    Trash& trash;
    Network& network;
    SystemInfo& systemInfo;
    Sound& sound;
    Http& http;
    Registry& registry;
    const PathRules& paths;
    Locale locale;
    std::string programFolder; // where set.dat and log.dat live (already chosen writable)
    std::string homeFolder;    // the user's home: watched on a first run
    // The folder of the executable, where the shipped clips and sounds lie; empty: programFolder.
    std::string mediaFolder = {};
};

// The one application state object: every control's value, owned by the main window.
class AppState {
public:
    explicit AppState(Services services);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Services sv;

    Settings settings;
    WatchList ListView1;
    LstAct lstAct{};
    LstEvt lstEvt{};
    std::vector<std::string> cboFile;
    ActivityLog log;

    // The "Spec." page: the specified files and programs with their boxes' texts and histories.
    SpecifiedFiles LVFile;
    std::string cboFileText;
    SpecifiedPrograms LVProg;
    std::vector<std::string> cboProg;
    std::string cboProgText;
    CheckValue chkSeq = 0; // "Sequential Action", not stored
    // extra.dat has been read: from then on every change of the lists is written to it.
    bool specifiedListsLoaded = false;
    // One tick of the watch timer now, as the file commands ask for after a report.
    std::function<void()> runWatchTick;

    Form1State form1;
    AlertDialog dlgAlert;
    Animation Animation1;
    SmallIconList ImageListLV;
    DriveInfoModel dlgDriveInfo;
    DriveWindowModel frmIndDri{*this};
    NotifyModel frmNotify;
    SysWorkSystray sysWorkSystray{*this};
    FrmLock frmLock{*this};
    FrmAbout frmAbout{*this};
    UpdateCheck updateCheck{*this};
    StartupEntry startUpEntry{*this};
    WizardModel frmWizard{*this};

    // The main window's timers.
    Timer Timer1;
    Timer TimerCust;
    Timer tmrStat;

    // Watch cycle counters.
    std::int32_t elapsedMs = 0;
    std::int32_t checksDone = 0;
    std::int32_t rateBase = 0;
    bool pausedByResponse = false;

    std::string settingsPath;
    // set.dat was there but could not be read: it is kept aside before the first save replaces it.
    bool settingsUnreadable = false;
    DateTime fileTimeMark;
    // Grows with every file action of the program's own (moves, deletes, the trash): a
    // measurement taken before such a change is not used after it.
    std::uint64_t filesChanged = 0;

    // Top-level work in flight (the check, commands that ask questions). Declared last so that
    // it is destroyed first: suspended frames go before the state they refer to.
    TaskScope tasks;

    void reportEscapedError(const std::exception_ptr& error);
    // Shows an information-style message without waiting for it.
    void inform(std::string text, MsgIcon icon = MsgIcon::Information);
    std::string now(std::string_view mask) const;
    // The display time of the cycle's records: "mm/dd/yy" " " "hh:mm:ss".
    std::string displayTime() const;
    // A file the program ships beside its executable ("spin.avi", "sound/alert.WAV").
    std::string mediaFile(std::string_view name) const;
};

} // namespace volmara
