#pragma once

#include "core/task.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

class AppState;
class PathRules;

// The command labels `lblSF` of the frame "Specified File(s)", by index.
inline constexpr std::array<std::string_view, 9> kLblSF{
    "Add", "Remove", "Move", "Delete File", "Clear All", "Delete All", "Move All", "(..)", "Show Attributes"};
enum LblSFIndex {
    kSfAdd = 0,
    kSfRemove = 1,
    kSfMove = 2,
    kSfDeleteFile = 3,
    kSfClearAll = 4,
    kSfDeleteAll = 5,
    kSfMoveAll = 6,
    kSfBrowse = 7,
    kSfShowAttributes = 8,
};

// Runs one command of `lblSF`. Commands that ask or wait run as tasks of the program; while one
// runs, a click on another is ignored, so no two commands act on the same rows.
void lblSF_Click(AppState& app, int index);
// `lblFolder` "(..)": chooses the folder files are moved to (`txtDrive`).
void lblFolder_Click(AppState& app);
// A click on a header of `LVFile`.
void LVFile_ColumnClick(AppState& app, int column);
// Files dropped on `cboFile` and on `LVFile`, in drop order.
void cboFile_Drop(AppState& app, std::vector<std::string> paths);
void LVFile_Drop(AppState& app, std::vector<std::string> paths);

// The paths a list text of `cboFile` names (a folder, then names, separated by ";"), in order.
// `namesFolder` tells whether a Linux path names an existing folder (the rules for drive letters
// need no look at the disk). Blank segments name nothing and are left out.
std::vector<std::string> scanAddList(const PathRules& rules, std::string_view text,
                                     const std::function<bool(const std::string&)>& namesFolder);

} // namespace volmara
