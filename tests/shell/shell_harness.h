#pragma once

#include "fakes/app_harness.h"

namespace volmara::test {

// The program on fakes with a desktop that has a tray (or not), loaded.
struct ShellHarness {
    AppHarness h;
    bool trayExists = true;
    int raised = 0;
    int menus = 0;

    explicit ShellHarness(bool withTray = true) : trayExists(withTray)
    {
        h.volumes.add("/", 900000, 2000000);
        h.files.folders = {"/"};
        h.make();
        auto& tray = app().sysWorkSystray;
        tray.systemTrayAvailable = [this] { return trayExists; };
        tray.bringToFront = [this] { ++raised; };
        tray.popUpMenu = [this] { ++menus; };
        h.model->Form_Load();
        h.loop.runPending();
    }

    AppState& app() { return h.app(); }
    SysWorkSystray& tray() { return app().sysWorkSystray; }
    FrmLock& lock() { return app().frmLock; }
    std::string lastMessage() { return h.dialogs.texts().empty() ? "" : h.dialogs.texts().back(); }
};

} // namespace volmara::test
