#pragma once

#include "core/task.h"

namespace volmara {

class AppState;

// The specified files and programs are kept in extra.dat beside set.dat. Start-up reads them
// after the settings: each file row is looked at again, and one whose file has gone comes back as
// a missing-path row. From then on every change of either list rewrites the file (mode 0600,
// replaced in one step), keeping the lines of extra.dat that are not the lists'.
Task<void> loadSpecifiedLists(AppState& app);
void saveSpecifiedLists(AppState& app);

} // namespace volmara
