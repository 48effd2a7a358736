#include "shell/startup_entry.h"

#include "core/app_state.h"
#include "shell/registry_keys.h"

namespace volmara {

StartupEntry::StartupEntry(AppState& app) : app_(app) {}

void StartupEntry::apply(bool ticked)
{
    wanted_ = ticked;
    if (!writing_)
        app_.tasks.spawn(write());
}

Task<void> StartupEntry::write()
{
    writing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{writing_};

    while (wanted_) {
        const bool ticked = *std::exchange(wanted_, std::nullopt);
        auto writing = RegWriteString(app_, std::string(kRunKeyPath), std::string(kStartUpValueName),
                                      ticked ? programPath : std::string());
        const auto status = co_await writing;
        if (status.ok || wanted_)
            continue;
        // A box that stays ticked over an entry that was not written would say what is not so.
        if (ticked) {
            app_.settings.chkStartUp = 0;
            app_.form1.notify();
        }
        app_.inform(std::string(ticked ? kStartUpNotWritten : kStartUpNotRemoved) + status.reason, MsgIcon::Exclamation);
    }
}

} // namespace volmara
