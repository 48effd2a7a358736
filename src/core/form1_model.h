#pragma once

#include "core/app_state.h"
#include "core/watch_cycle.h"

#include <cstddef>
#include <functional>
#include <string>

namespace volmara {

// The main window's model: owns the application state, runs start-up and shut-down in their
// fixed order, and carries every command of the window. The Qt window only shows it.
class Form1Model {
public:
    explicit Form1Model(Services services);
    // Suspended work goes first: its frames refer to the cycle and the state.
    ~Form1Model();
    Form1Model(const Form1Model&) = delete;
    Form1Model& operator=(const Form1Model&) = delete;

    AppState& app() { return app_; }
    const AppState& app() const { return app_; }
    WatchCycle& cycle() { return cycle_; }

    void Form_Load();
    // The start-up steps that measure drives have run (they wait on the I/O workers).
    bool startedUp() const { return started_; }
    void Form_Unload();

    // Watch list commands (`lblDP`).
    void addPath();        // "(..)"
    void removeSelected(); // "Remove"
    void clearList();      // "Clear"
    void refreshDrives();  // "Show/Refresh Drive(s)"
    void openDriveWindow(); // "Select Drive": the selected entry
    // A double click on row `index`: that row becomes the selection, then the drive window opens.
    void openDriveWindowFor(std::size_t index);
    void sortByColumn(int column);
    void setWatched(std::size_t index, bool watched);

    // Trigger settings.
    void setPerEntryTriggers(bool on); // `chkDrive`
    void setTriggerUnit(int option);   // `OpDriv` 0 KB, 1 percent
    void setSlider(int value);         // `Slider1`
    void txtSpaceChanged(const std::string& text);
    void txtSpaceStep(int delta); // the up/down buttons
    // The in-place editor: Enter with `text` over row `index`. Returns false when refused.
    bool commitTrigger(std::size_t index, const std::string& text);
    bool triggerEditable(int column) const;

    // `cmdAudio` i: choose the sound file of `txtAudio` i.
    void chooseSound(int index);
    // `cmdPlay` i: play the sound file of `txtAudio` i to its end.
    void playSound(int index);

    // Response and event lists.
    void setResponseTicked(int index, bool ticked);
    void setEventTicked(int index, bool ticked);

    // Log commands (`lblAl`).
    void saveLog();   // "Save"
    void openLog();   // "Open Log": the seam to the text editor
    void clearLog();  // "Clear"
    void deleteLog(); // "Delete Log"
    void alertLimitDown(); // `UpDown3` down
    void alertLimitUp();

    // Where the system's text editor is started; the shell helpers bind it.
    std::function<void(const std::string& path)> openDocument;
    // Start-up's update check (the update check's model binds it).
    std::function<void()> checkForUpdate;

private:
    Task<void> startUp();
    Task<void> addPathTask();
    Task<void> refreshDrivesTask();
    Task<void> chooseSoundTask(int index);
    Task<void> playSoundTask(int index);
    Task<void> clearListTask();
    Task<void> saveLogTask();
    Task<void> openLogTask();
    Task<void> deleteLogTask();
    void updateSpaceLabels();
    void tickHomeEntry();
    void runCommand(const std::function<void()>& command);
    // The seams of the other windows, bound to what serves them (form1_bindings.cpp).
    void bindWindows();

    AppState app_;
    WatchCycle cycle_;
    bool refreshing_ = false;
    bool started_ = false;
};

// Where set.dat and log.dat live: the program folder when it is writable, else the user's data folder.
std::string settingsFileName(const std::string& folder);
std::string logFileName(const std::string& folder);

} // namespace volmara
