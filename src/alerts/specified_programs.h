#pragma once

#include "core/task.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;

// The command labels `Label5` 0 to 4 of the frame "Specified Program(s)" (5 and 6 belong to the
// update check).
inline constexpr std::array<std::string_view, 5> kLabel5{"Add", "Remove", "Clear All", "Run", "(..)"};
enum Label5Index { kProgAdd = 0, kProgRemove = 1, kProgClearAll = 2, kProgRun = 3, kProgBrowse = 4 };

void Label5_Click(AppState& app, int index);
void LVProg_ColumnClick(AppState& app, int column);
void cboProg_Drop(AppState& app, std::vector<std::string> paths);
void LVProg_Drop(AppState& app, std::vector<std::string> paths);

// Starts one program as the shell's "open" does: an executable directly, with the parameters,
// anything else with the desktop's application. Throws Error with the reason when it cannot start.
Task<void> startProgram(AppState& app, std::string path, std::vector<std::string> parameters);
// What a listed program is given: "0".
std::vector<std::string> listedProgramParameters();

// Starts every listed program, first row first, and returns the report the response records:
// one block per row, started, refused (with the reason) or missing.
Task<std::string> runAllPrograms(AppState& app);

} // namespace volmara
