#pragma once

#include "core/form1_model.h"
#include "core/path_rules.h"
#include "fakes/fake_files.h"
#include "fakes/fake_http.h"
#include "fakes/fake_network.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_sound.h"
#include "fakes/fake_system_info.h"
#include "fakes/fake_trash.h"
#include "fakes/fake_raw_volumes.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_volumes.h"
#include "fakes/manual_event_loop.h"
#include "fakes/manual_io.h"
#include "fakes/scripted_dialogs.h"

#include <memory>

namespace volmara::test {

inline WatchEntry watchEntry(std::string path, bool watched, std::string freeText = {})
{
    WatchEntry e;
    e.path = std::move(path);
    e.watched = watched;
    e.freeText = std::move(freeText);
    return e;
}

// The whole program on fakes: a manual loop and clock, in-memory drives and files, scripted
// dialogs. Program folder "/opt/volmara", home "/home/user".
struct AppHarness {
    ManualEventLoop loop;
    ManualIo io{loop};
    ManualClock clock;
    ScriptedDialogs dialogs{loop};
    FakeVolumes volumes;
    FakeFiles files;
    testing::MemoryVolumes rawVolumes;
    testing::FakeVolumeInfo volumeInfo;
    FakeShell shell;
    FakeTrash trash{files};
    FakeNetwork network;
    FakeSystemInfo systemInfo;
    FakeSound sound;
    FakeHttp http;
    FakeRegistry registry;
    PosixPathRules paths{volumes};
    std::unique_ptr<Form1Model> model;

    AppHarness() { clock.follow(loop); }

    // The services over these fakes, for a window or model the test makes itself.
    Services services(Locale locale = {})
    {
        return Services{loop,   io,      clock,      dialogs, volumes, files, rawVolumes, volumeInfo, shell,
                        trash,  network, systemInfo, sound,   http,    registry, paths, locale, "/opt/volmara",
                        "/home/user"};
    }
    Form1Model& make()
    {
        model = std::make_unique<Form1Model>(services());
        return *model;
    }
    Form1Model& load()
    {
        make().Form_Load();
        loop.runPending();
        return *model;
    }

    AppState& app() { return model->app(); }
    std::string setDat() { return files.files["/opt/volmara/set.dat"]; }
    std::string logDat() { return files.files["/opt/volmara/log.dat"]; }
};

} // namespace volmara::test
