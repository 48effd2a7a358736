#include "alerts/response_sequence.h"

#include "alerts/cleanup_actions.h"
#include "alerts/file_actions.h"
#include "alerts/specified_programs.h"
#include "core/app_state.h"
#include "core/drive_probe.h"
#include "core/error.h"
#include "core/format.h"
#include "core/pause_control.h"
#include "core/path_rules.h"

#include <limits>
#include <optional>

namespace volmara {

namespace {

constexpr std::string_view kBlockEnd = "\r\n.\r\n";

class ResponseRun {
public:
    ResponseRun(AppState& app, Shortage shortage) : app_(app), s_(std::move(shortage)), action_(s_.alertText) {}

    Task<void> run()
    {
        app_.Animation1.prcSrvAnimation(1, 1);
        panel("Animation:");
        for (std::size_t index = 0; index < app_.lstAct.size(); ++index) {
            co_await app_.sv.loop.yield();
            if (!app_.lstAct[index])
                continue;
            panel("Checking Events for: " + std::string(kLstActCaptions[index]));
            co_await respond(index);
            if (!action_.empty() && !app_.dlgAlert.containsText(action_))
                app_.dlgAlert.show();
        }
        // Whatever the responses did to files, measurements taken before are stale now.
        ++app_.filesChanged;
    }

private:
    Task<void> respond(std::size_t index)
    {
        switch (index) {
        case kActAlert:
            app_.dlgAlert.show();
            break;
        case kActMove:
            co_await moveToSpecifiedPath();
            break;
        case kActDelete:
            co_await deleteSpecifiedFiles();
            break;
        case kActRecycle:
            co_await recycleSpecifiedFile();
            break;
        case kActAutoMove:
            co_await moveToLargestAvailablePath();
            break;
        case kActSound:
            co_await playAlertSound();
            break;
        case kActEmptyRecycle:
            co_await emptyRecycleBin();
            break;
        case kActRunPrograms:
            co_await runPrograms();
            break;
        case kActNotify:
            co_await notifyByMail();
            break;
        case kActCleanManager:
            co_await runCleanManager();
            break;
        case kActPause:
            pauseOnAlert();
            break;
        default:
            break;
        }
    }

    // --- 1: move the entry's listed files to the specified path ---------------------------------

    Task<void> moveToSpecifiedPath()
    {
        if (app_.cboFile.empty()) {
            action_ = "- No Moved File: no file selected. " + std::string(" Drive: ") + s_.drivePath;
            co_return;
        }
        const auto destination = co_await moveDestination();
        const auto ids = app_.LVFile.ids();
        for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
            const auto* row = app_.LVFile.find(*it);
            if (!row || !belongsToEntry(app_.sv.paths, row->tag, s_.entryPath))
                continue;
            const std::string tag = row->tag;
            const std::string size = row->size;
            const auto look = co_await lookAt(app_, tag, FolderDetail::Skip);
            if (!look.answered)
                continue; // its file system does not answer: nothing can be said of the file
            if (look.facts.kind != PathKind::File) {
                action_ += "Failed Moved File; file does not exist: " + tag + destination + std::string(kBlockEnd);
            } else if (look.facts.size < co_await availableBytes(destination)) {
                std::optional<std::string> failure;
                try {
                    co_await moveFileAwaited(app_, tag, moveTarget(app_.sv.paths, destination, tag));
                } catch (const Error& e) {
                    failure = e.description();
                }
                if (failure) {
                    // The file stays where it is, and the record says so.
                    action_ += "Failed Auto Moved File: " + tag + " to " + destination + " Size: " + size + " | " +
                               *failure + std::string(kBlockEnd);
                } else {
                    action_ += "Auto Moved File: " + tag + " to " + destination + " Size: " + size + std::string(kBlockEnd);
                    app_.LVFile.remove(*it);
                }
            } else {
                action_ += "Not enough free space: " + destination + " to move file: " + tag + std::string(kBlockEnd);
                app_.LVFile.remove(*it);
            }
            recordForEntry("Medium");
            action_.clear();
        }
    }

    // The specified path itself when it is a folder; only otherwise its drive root.
    Task<std::string> moveDestination()
    {
        const auto path = trim(app_.settings.txtDrive);
        if (!path.empty()) {
            const auto look = co_await lookAt(app_, path, FolderDetail::Skip);
            if (look.answered && look.facts.kind == PathKind::Folder)
                co_return path;
        }
        co_return app_.sv.paths.prcChkDriv(app_.settings.txtDrive);
    }

    Task<std::uint64_t> availableBytes(std::string path)
    {
        const auto drive = co_await measureDrive(app_.sv, std::move(path));
        co_return drive.ready ? drive.availableBytes : 0;
    }

    // --- 2: delete the entry's listed files, one file per check ------------------------------

    Task<void> deleteSpecifiedFiles()
    {
        if (app_.LVFile.empty()) {
            action_ = "- No Deleted File: no file selected. " + std::string(" Drive: ") + s_.drivePath;
            co_return;
        }
        for (const auto id : app_.LVFile.ids()) {
            const auto* row = app_.LVFile.find(id);
            if (!row || !belongsToEntry(app_.sv.paths, row->tag, s_.entryPath))
                continue;
            const std::string tag = row->tag;
            const std::string size = row->size;
            const auto look = co_await lookAt(app_, tag, FolderDetail::Take);
            if (!look.answered)
                continue;
            if (look.facts.kind == PathKind::File) {
                co_await removePath(tag, PathKind::File);
                app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), "Medium", "Auto Deleted Specified File: " + tag, 0,
                                      &app_.ListView1.byId(s_.entryId));
                action_ += "\r\n.\r\nAuto Deleted Specified File: " + tag + " Size: " + size;
                app_.LVFile.remove(id);
                co_return;
            }
            if (look.facts.kind != PathKind::Folder)
                continue;
            const bool hasContent = look.folderBytes > 0 && look.counts && look.counts->files > 0;
            if (hasContent) {
                action_ += "\r\n.\r\nAuto Deleted Specified Folder: " + tag + " | [" +
                           formatNumber(static_cast<double>(look.folderBytes) / 1024, "##.##", app_.sv.locale) + " KB]";
                co_await removePath(tag, PathKind::Folder);
            } else {
                action_ += "\r\n.\r\n- No Folder Found or No Content in Folder: " + tag;
            }
            app_.LVFile.remove(id);
            recordForEntry("Medium");
            action_.clear();
        }
    }

    Task<void> removePath(std::string path, PathKind kind)
    {
        std::exception_ptr failure;
        try {
            auto removing = runLongWork(
                app_, ioKeyOf(app_, path),
                [&files = app_.sv.files, path, kind](WorkProgress&) {
                    if (kind == PathKind::Folder)
                        files.deleteFolder(path);
                    else
                        files.removeFile(path);
                },
                {});
            co_await removing;
        } catch (...) {
            failure = std::current_exception();
        }
        ++app_.filesChanged;
        if (failure)
            std::rethrow_exception(failure);
    }

    // --- 3: the first listed file of the entry to the trash ------------------------------------

    Task<void> recycleSpecifiedFile()
    {
        for (const auto id : app_.LVFile.ids()) {
            const auto* row = app_.LVFile.find(id);
            if (!row || !belongsToEntry(app_.sv.paths, row->tag, s_.entryPath))
                continue;
            const std::string tag = row->tag;
            co_await SendToRecycleBin(app_, tag, FOF_ALLOWUNDO);
            app_.LVFile.remove(id);
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Auto send file to recycle bin: " + tag, 0, nullptr);
            co_return;
        }
    }

    // --- 4: the entry's listed files to the watched drive with the most room --------------------

    Task<void> moveToLargestAvailablePath()
    {
        const auto ownRoot = app_.sv.paths.driveRoot(s_.entryPath);
        std::optional<std::string> best;
        std::uint64_t bestBytes = 0;
        for (const auto id : app_.ListView1.ids()) {
            co_await app_.sv.loop.yield();
            const auto* entry = app_.ListView1.find(id);
            if (!entry || id == s_.entryId || !entry->watched || entry->notAvailable())
                continue;
            const std::string path = entry->path;
            const bool namedMountPoint = entry->namedMountPoint;
            std::optional<PathProbe> probe;
            try {
                probe = co_await probePath(app_.sv, path, Counts::Skip, namedMountPoint);
            } catch (const Error&) {
                // An entry whose path names no drive is no place to move files to.
            }
            // Moving to another folder of the same file system frees nothing there.
            if (!probe || !probe->drive.ready || probe->drive.root == ownRoot)
                continue;
            if (!best || probe->drive.availableBytes > bestBytes) {
                best = trim(path);
                bestBytes = probe->drive.availableBytes;
            }
        }
        if (!best)
            co_return;
        auto moving = prcFileAct(app_, 4, s_.entryId, std::numeric_limits<std::int16_t>::max(), s_.entryPath, *best, "");
        co_await moving;
    }

    // --- 5 to 10 -------------------------------------------------------------------------------

    Task<void> playAlertSound()
    {
        const auto chosen = trim(app_.settings.txtAudio[0]);
        std::string path = app_.mediaFile("sound/alert.WAV");
        if (!chosen.empty()) {
            const auto look = co_await lookAt(app_, chosen, FolderDetail::Skip);
            if (look.answered && look.facts.kind == PathKind::File)
                path = chosen;
        }
        auto playing = app_.sv.sound.play(path);
        co_await playing;
    }

    Task<void> emptyRecycleBin()
    {
        const auto result = co_await MakeRecycleBinEmpty(app_, "", 0, 0, 0);
        ++app_.filesChanged;
        switch (result.outcome) {
        case EmptyOutcome::Emptied:
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Recycle Bin Content Emptied.", 0, nullptr);
            break;
        case EmptyOutcome::Failed:
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Recycle Bin Content not Emptied: " + result.reason, 0,
                                  nullptr);
            break;
        case EmptyOutcome::Cancelled:
            break; // the user said no: nothing was emptied, nothing is claimed
        }
    }

    Task<void> runPrograms()
    {
        action_ += co_await runAllPrograms(app_);
        app_.log.prcAlertInfo(app_.displayTime(), "High", action_, 0, nullptr);
    }

    Task<void> notifyByMail()
    {
        const auto result = co_await app_.frmNotify.prcSendEmailZ();
        if (result.sent > 0) {
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Notification Email Sent.", 0, nullptr);
        } else {
            // A report that went nowhere is not recorded as sent.
            const auto why = result.outcome == DispatchResult::Outcome::Busy ? std::string("a mail is being sent already")
                                                                               : app_.frmNotify.StatusTxt();
            app_.log.prcAlertInfo(app_.displayTime(), "High", "Notification Email not Sent: " + why, 0, nullptr);
        }
    }

    Task<void> runCleanManager()
    {
        std::string drive = s_.entryPath;
        if (!app_.sv.paths.isNetworkPath(s_.entryPath)) {
            const auto look = co_await lookAt(app_, trim(s_.entryPath), FolderDetail::Skip);
            if (look.answered && look.facts.kind != PathKind::Missing)
                drive = s_.drivePath;
        }
        const auto refused = co_await prcCleanMan(app_, drive, "12");
        app_.log.prcAlertInfo(app_.displayTime(), "High", refused ? *refused : std::string("Clean Manager Called."), 0,
                              nullptr);
    }

    void pauseOnAlert()
    {
        app_.log.prcAlertInfo(app_.displayTime(), "High", "Program paused by user option to pause on alert event.", 0,
                              nullptr);
        app_.Timer1.setEnabled(false);
        cmdPause_Click(app_);
        app_.pausedByResponse = true;
    }

    void recordForEntry(const std::string& level)
    {
        app_.log.prcAlertInfo(app_.now("yyyymmdd HH:mm"), level, action_, 0, &app_.ListView1.byId(s_.entryId));
    }

    void panel(std::string text)
    {
        app_.form1.StatusBar1[0].text = std::move(text);
        app_.form1.notify();
    }

    AppState& app_;
    Shortage s_;
    std::string action_;
};

} // namespace

Task<void> runAlertResponses(AppState& app, Shortage shortage)
{
    ResponseRun responses(app, std::move(shortage));
    co_await responses.run();
}

} // namespace volmara
