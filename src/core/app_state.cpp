#include "core/app_state.h"

#include "core/format.h"

namespace volmara {

AppState::AppState(Services services)
    : sv(std::move(services))
    , log(sv.files, settings.chkAutoSave)
    , dlgAlert(*this)
    , Animation1(sv.files, sv.mediaFolder.empty() ? sv.programFolder : sv.mediaFolder)
    , dlgDriveInfo(driveInfoServices(*this))
    , frmNotify(*this)
    , Timer1(sv.loop, 5000, true)
    , TimerCust(sv.loop, 60000, true)
    , tmrStat(sv.loop, 6000, true)
    , tasks([this](const std::exception_ptr& error) { reportEscapedError(error); })
{
}

void AppState::reportEscapedError(const std::exception_ptr& error)
{
    // Commands catch their own errors; this is the last line before a failure would go unseen.
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        inform(std::string("The command could not be completed: ") + e.what(), MsgIcon::Critical);
    } catch (...) {
        inform("The command could not be completed.", MsgIcon::Critical);
    }
}

void AppState::inform(std::string text, MsgIcon icon)
{
    sv.dialogs.showMessage(MessageRequest{std::move(text), icon, MsgButtons::Ok}, [](MsgAnswer) {});
}

std::string AppState::now(std::string_view mask) const { return formatDate(sv.clock.now(), mask, sv.locale); }

std::string AppState::mediaFile(std::string_view name) const
{
    return (sv.mediaFolder.empty() ? sv.programFolder : sv.mediaFolder) + "/" + std::string(name);
}

std::string AppState::displayTime() const { return now("mm/dd/yy") + " " + now("hh:mm:ss"); }

} // namespace volmara
