#include "shell/frm_about.h"

#include "core/app_state.h"
#include "shell/registry_keys.h"

#include <optional>

namespace volmara {

std::string versionText(const ProgramVersion& version)
{
    return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

FrmAbout::FrmAbout(AppState& app) : app_(app) {}

void FrmAbout::show()
{
    if (windowNeeded)
        windowNeeded();
    visible_ = true;
    notify();
}

void FrmAbout::Form_Load(double width, double height)
{
    loaded_ = true;
    lblVersion_ = versionText(version);
    // The far ends fan out along the left and the right edge, top to bottom.
    for (std::size_t k = 0; k < kPairs; ++k) {
        const double y = height * static_cast<double>(k) / static_cast<double>(kPairs - 1);
        lines_[2 * k].p1 = {0, y};
        lines_[2 * k + 1].p2 = {width, y};
    }
    prcDraw(width / 2, height);
}

void FrmAbout::prcDraw(double x, double y)
{
    for (std::size_t k = 0; k < kPairs; ++k) {
        lines_[2 * k].p2 = {x, y};
        lines_[2 * k + 1].p1 = {x, y};
    }
    notify();
}

void FrmAbout::cmdOK_Click()
{
    // Unloaded: the next show loads the window afresh.
    visible_ = false;
    loaded_ = false;
    notify();
}

void FrmAbout::cmdSysInfo_Click()
{
    if (starting_)
        return;
    app_.tasks.spawn(StartSysInfo());
}

Task<void> FrmAbout::StartSysInfo()
{
    starting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{starting_};

    // The lookups touch the registry's store (files on Linux): they run on the I/O workers.
    auto lookup = app_.sv.io.run("registry", [&registry = app_.sv.registry, &files = app_.sv.files,
                                              &paths = app_.sv.paths]() -> std::optional<std::string> {
        if (auto path = registry.queryString(HKEY_LOCAL_MACHINE, std::string(kMsInfoKey), std::string(kMsInfoValue)))
            if (!path->empty())
                return path;
        if (auto folder = registry.queryString(HKEY_LOCAL_MACHINE, std::string(kMsInfoLocationKey),
                                               std::string(kMsInfoLocationValue))) {
            auto file = paths.withSeparator(*folder) + std::string(kMsInfoExecutable);
            if (files.fileExists(file))
                return file;
        }
        return std::nullopt;
    });
    auto found = co_await lookup;
    bool started = false;
    if (found.answered() && *found.value) {
        auto starting = app_.sv.io.run("programs", [&shell = app_.sv.shell, path = **found.value] { shell.start(path, {}); });
        try {
            started = (co_await starting).answered();
        } catch (const std::exception&) {
            started = false; // refused: the same message as for no tool at all
        }
    }
    if (!started)
        co_await app_.sv.dialogs.ask(kSysInfoUnavailable.data(), MsgIcon::None);
}

} // namespace volmara
